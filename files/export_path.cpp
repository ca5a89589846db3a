#include "files/export_path.h"

namespace vemro {

std::string exportPath(const std::string& chosenPath, const std::string& extension) {
    const std::size_t slash = chosenPath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = chosenPath.rfind('.');
    const std::size_t baseEnd =
        dot != std::string::npos && dot >= nameStart ? dot : chosenPath.size();
    return chosenPath.substr(0, baseEnd) + extension;
}

}  // namespace vemro
