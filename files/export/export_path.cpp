#include "files/export/export_path.h"

namespace vemro {

std::string exportPath(const std::string& chosenPath, const std::string& extension) {
    const std::size_t slash = chosenPath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = chosenPath.rfind('.');
    const std::size_t baseEnd =
        dot != std::string::npos && dot >= nameStart ? dot : chosenPath.size();
    return chosenPath.substr(0, baseEnd) + extension;
}

std::optional<std::string> exportNameProblem(const std::string& chosenPath) {
    const std::size_t slash = chosenPath.rfind('/');
    const std::string name = chosenPath.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = name.rfind('.');
    if ((dot == std::string::npos ? name.size() : dot) > 0 && name != "..") {
        return std::nullopt;
    }
    return "the output path \"" + chosenPath + "\" names no file: give a file name, such as \"" +
           (slash == std::string::npos ? std::string() : chosenPath.substr(0, slash + 1)) +
           "font\"";
}

}  // namespace vemro
