#include "files/export/exporter.h"

#include <filesystem>

#include "files/export/export_path.h"
#include "files/project/project_file.h"

namespace vemro {

namespace {

// Whether two paths name the same file: the same file on disk when both exist, else the same
// path once made absolute and normal.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::exists(a, error) && std::filesystem::exists(b, error)) {
        const bool same = std::filesystem::equivalent(a, b, error);
        if (!error) {
            return same;
        }
    }
    const std::filesystem::path left = std::filesystem::weakly_canonical(a, error);
    const std::filesystem::path right = std::filesystem::weakly_canonical(b, error);
    return !error && left == right;
}

}  // namespace

std::vector<std::string> Exporter::outputFiles(const std::string& chosenPath,
                                               const ExportSettings& settings,
                                               const AtlasResult& result) const {
    return targetFiles(chosenPath, settings, result);
}

std::vector<std::string> Exporter::outputFiles(const std::string& chosenPath,
                                               const AtlasResult& result) const {
    return targetFiles(chosenPath, ExportSettings{}, result);
}

ExportReport Exporter::write(const std::string& chosenPath, const Project& project,
                             const ExportSettings& settings, const AtlasResult& result,
                             const std::string& projectPath) const {
    std::optional<std::string> problem = exportNameProblem(chosenPath);
    if (!problem) {
        problem = exportTargetProblem(outputFiles(chosenPath, settings, result), projectPath);
    }
    if (problem) {
        ExportReport refused;
        refused.failures.push_back(*problem);
        return refused;
    }
    return writeFiles(chosenPath, project, settings, result);
}

std::optional<std::string> exportTargetProblem(const std::vector<std::string>& targets,
                                               const std::string& projectPath) {
    for (const std::string& target : targets) {
        if (!projectPath.empty() && sameFile(target, projectPath)) {
            return "will not write \"" + target +
                   "\": it is the project's own file; choose another name for the export";
        }
        if (isProjectFile(target)) {
            return "will not write \"" + target +
                   "\": it is a Vemro Font builder project, not an earlier export; choose another "
                   "name for the export";
        }
    }
    return std::nullopt;
}

}  // namespace vemro
