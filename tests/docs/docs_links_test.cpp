// The README and the manual in docs/ against the repository: every relative link and picture
// names a file that is there (and a heading of it, after '#'), and the README's set-up commands
// are the ones CI runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSource = VEMRO_SOURCE_DIR;

std::vector<std::string> linesOf(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<fs::path> documents() {
    std::vector<fs::path> found{kSource / "README.md"};
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kSource / "docs")) {
        if (entry.path().extension() == ".md") {
            found.push_back(entry.path());
        }
    }
    return found;
}

// The lines outside fenced code blocks, with inline code spans taken out.
std::vector<std::string> proseOf(const fs::path& path) {
    static const std::regex kCode("`[^`]*`");
    std::vector<std::string> prose;
    bool inFence = false;
    for (const std::string& line : linesOf(path)) {
        if (line.starts_with("```")) {
            inFence = !inFence;
        } else if (!inFence) {
            prose.push_back(std::regex_replace(line, kCode, ""));
        }
    }
    return prose;
}

// The anchors a heading gets on GitHub: lower case, punctuation dropped, spaces as hyphens, a
// repeated one numbered.
std::set<std::string> anchorsOf(const fs::path& path) {
    std::set<std::string> anchors;
    std::map<std::string, int> seen;
    for (const std::string& line : proseOf(path)) {
        const std::size_t level = line.find_first_not_of('#');
        if (level == 0 || level == std::string::npos || line[level] != ' ') {
            continue;
        }
        std::string anchor;
        const std::string text = line.substr(level + 1);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (std::isalnum(byte) || byte == '-' || byte == '_') {
                anchor += static_cast<char>(std::tolower(byte));
            } else if (byte == ' ') {
                anchor += '-';
            } else if (byte >= 0x80) {
                // UTF-8 kept, the capitals of Latin-1 (U+00C0..U+00DE but U+00D7) lowered.
                const auto next = static_cast<unsigned char>(i + 1 < text.size() ? text[i + 1] : 0);
                const bool capital = byte == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97;
                anchor += text[i];
                if (capital) {
                    anchor += static_cast<char>(next + 0x20);
                    ++i;
                }
            }
        }
        const int repeat = seen[anchor]++;
        anchors.insert(repeat == 0 ? anchor : anchor + "-" + std::to_string(repeat));
    }
    return anchors;
}

struct Link {
    fs::path document;
    std::string target;
};

std::vector<Link> relativeLinks() {
    static const std::regex kLink(R"(\]\(([^)\s]+)\))");
    std::vector<Link> links;
    for (const fs::path& document : documents()) {
        for (const std::string& line : proseOf(document)) {
            for (auto it = std::sregex_iterator(line.begin(), line.end(), kLink);
                 it != std::sregex_iterator(); ++it) {
                const std::string target = (*it)[1];
                if (target.find("://") == std::string::npos && !target.starts_with("mailto:")) {
                    links.push_back({document, target});
                }
            }
        }
    }
    return links;
}

TEST(Docs, EveryRelativeLinkAndPictureResolves) {
    const std::vector<Link> links = relativeLinks();
    ASSERT_GT(links.size(), 20U);
    for (const Link& link : links) {
        const std::size_t hash = link.target.find('#');
        const std::string file = link.target.substr(0, hash);
        const fs::path target = file.empty() ? link.document : link.document.parent_path() / file;
        SCOPED_TRACE(link.document.filename().string() + ": " + link.target);
        ASSERT_TRUE(fs::exists(target)) << "no such file";
        if (hash != std::string::npos) {
            ASSERT_EQ(target.extension(), ".md") << "an anchor into a file that is no document";
            EXPECT_TRUE(anchorsOf(target).contains(link.target.substr(hash + 1)))
                << "no such heading";
        }
    }
}

// The commands of a script, or of the README's first code block under "## Set-up": the first
// word of each line that runs something from scripts/.
std::set<std::string> scriptCommands(const std::vector<std::string>& lines) {
    std::set<std::string> commands;
    static const std::regex kCommand(R"(^\s*(?:\S+=\S+\s+)*(\./scripts/[a-z-]+))");
    for (const std::string& line : lines) {
        std::smatch match;
        if (std::regex_search(line, match, kCommand)) {
            commands.insert(match[1]);
        }
    }
    return commands;
}

TEST(Docs, TheReadmeSetUpIsTheTwoCommandsCiUses) {
    const std::vector<std::string> readme = linesOf(kSource / "README.md");
    const auto heading = std::find(readme.begin(), readme.end(), "## Set-up");
    ASSERT_NE(heading, readme.end());
    const auto open = std::find_if(heading, readme.end(),
                                   [](const std::string& l) { return l.starts_with("```"); });
    ASSERT_NE(open, readme.end());
    const auto close = std::find_if(open + 1, readme.end(),
                                    [](const std::string& l) { return l.starts_with("```"); });
    const std::set<std::string> setUp = scriptCommands({open + 1, close});
    EXPECT_EQ(setUp, (std::set<std::string>{"./scripts/run", "./scripts/test"}));
    // CI runs the test command exactly as the README gives it; the other one starts the window.
    const std::set<std::string> ci = scriptCommands(linesOf(kSource / ".ci/run"));
    EXPECT_TRUE(ci.contains("./scripts/test"));
}

}  // namespace
