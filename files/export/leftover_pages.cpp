#include "files/export/leftover_pages.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "engine/pack/pack_options.h"
#include "files/export/export_path.h"

namespace vemro {

namespace {

std::size_t digitsOf(std::size_t number) {
    return std::to_string(number).size();
}

// A page file found: its page, how its number was written, and where its extension comes in
// the order the format writes a page's files.
struct PageFile {
    std::size_t page = 0;
    std::size_t width = 0;
    std::size_t kind = 0;
    std::string path;
};

// The page number of a file name's part between "NAME_" and the extension, when the format
// writes a page of some atlas so: digits alone, padded to at most the digits of the last page of
// the largest atlas (tfd: never padded, and page 0 has no number).
std::optional<std::size_t> pageNumber(const std::string& digits, bool tfd) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
        digits.size() > digitsOf(kMaxAtlasPages - 1)) {
        return std::nullopt;
    }
    const auto page = static_cast<std::size_t>(std::stoul(digits));
    if (page >= static_cast<std::size_t>(kMaxAtlasPages) ||
        (tfd && (page == 0 || digits.size() != digitsOf(page)))) {
        return std::nullopt;
    }
    return page;
}

}  // namespace

std::vector<std::string> leftoverPages(const std::string& chosenPath,
                                       const ExportSettings& settings,
                                       const std::vector<std::string>& targets) {
    const bool tfd = settings.format == DescriptorFormat::Tfd;
    const std::vector<std::string> extensions =
        tfd ? std::vector<std::string>{".tga", ".tfd"}
            : std::vector<std::string>{settings.image == PageImage::Tga ? ".tga" : ".png"};
    // "FOLDER/NAME_": the folder to look in and what every page's name starts with.
    const std::filesystem::path stem(exportPath(chosenPath, "_"));
    const std::string prefix = stem.filename().string();
    const std::filesystem::path folder = stem.has_parent_path() ? stem.parent_path() : ".";

    std::vector<PageFile> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code typeError;
        if (!name.starts_with(prefix) || !entry->is_regular_file(typeError)) {
            continue;
        }
        for (std::size_t kind = 0; kind < extensions.size(); ++kind) {
            const std::string& extension = extensions[kind];
            if (!name.ends_with(extension) || name.size() < prefix.size() + extension.size()) {
                continue;
            }
            const std::string digits =
                name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
            const std::string path = exportPath(chosenPath, "_" + digits + extension);
            if (const std::optional<std::size_t> page = pageNumber(digits, tfd);
                page && std::find(targets.begin(), targets.end(), path) == targets.end()) {
                found.push_back(PageFile{*page, digits.size(), kind, path});
            }
        }
    }
    std::sort(found.begin(), found.end(), [](const PageFile& a, const PageFile& b) {
        return std::tie(a.page, a.width, a.kind) < std::tie(b.page, b.width, b.kind);
    });
    std::vector<std::string> paths;
    for (PageFile& file : found) {
        paths.push_back(std::move(file.path));
    }
    return paths;
}

std::string leftoverPagesMessage(const std::vector<std::string>& leftovers) {
    if (leftovers.empty()) {
        return {};
    }
    const auto nameOf = [](const std::string& path) {
        return std::filesystem::path(path).filename().string();
    };
    const std::string first = nameOf(leftovers.front());
    const std::string last = nameOf(leftovers.back());
    switch (leftovers.size()) {
        case 1:
            return first + " from an earlier export is still there";
        case 2:
            return first + " and " + last + " from an earlier export are still there";
        default:
            return first + " \u2026 " + last + " from an earlier export are still there";
    }
}

}  // namespace vemro
