#include "files/cli/depfile.h"

#include <set>

namespace vemro {

namespace {

std::string escaped(const std::string& path) {
    std::string text;
    for (const char c : path) {
        if (c == ' ' || c == '#') {
            text += '\\';
        } else if (c == '$') {
            text += '$';
        }
        text += c;
    }
    return text;
}

}  // namespace

std::string depfileText(const std::vector<std::string>& targets,
                        const std::vector<std::string>& dependencies) {
    std::string text;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        text += (i == 0 ? "" : " \\\n ") + escaped(targets[i]);
    }
    text += ":";
    std::set<std::string> listed;
    for (const std::string& dependency : dependencies) {
        if (listed.insert(dependency).second) {
            text += " \\\n  " + escaped(dependency);
        }
    }
    return text + "\n";
}

}  // namespace vemro
