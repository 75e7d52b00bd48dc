#include "viewer/companion_files.h"

#include "formats/node_displacement_file.h"
#include "geometry/deformation.h"
#include "viewer/contour/contour_field.h"

#include <filesystem>

namespace shellfem::viewer {

void CompanionFiles::load(const std::string& stressPath, const ContourModel& model) {
    stressPath_ = stressPath;
    loadDisplacements(model);
    loadUnaveraged(model);
}

std::string CompanionFiles::beside(const char* name) const {
    return (std::filesystem::path(stressPath_).parent_path() / name).string();
}

std::string CompanionFiles::failureNote(const Outcome& read, const std::string& path) const {
    if (read.status == Status::CannotOpen)
        return "no " + path + " beside " + stressPath_;
    return read.ok() ? std::string() : read.message;
}

void CompanionFiles::loadDisplacements(const ContourModel& model) {
    const std::string path = beside(kNodeDisplacementFileName);
    deformationNote_ = failureNote(readNodeDisplacementFile(path, displacements_), path);
    if (deformationNote_.empty() && displacements_.size() != 6 * model.nodes.size())
        deformationNote_ = path + " has " + std::to_string(displacements_.size() / 6) +
                           " nodes where " + stressPath_ + " has " +
                           std::to_string(model.nodes.size());
    if (!deformationNote_.empty())
        displacements_.clear();
    defaultScale_ = displacements_.empty() ? 0.0 : deformationScale(model.nodes, displacements_);
}

void CompanionFiles::loadUnaveraged(const ContourModel& model) {
    const std::string path = beside(kElementStressFileName);
    jumpNote_ = failureNote(readContourFile(path, unaveraged_), path);
    if (jumpNote_.empty())
        jumpNote_ = sameMesh(model, stressPath_, unaveraged_, path).message;
    unaveragedRead_ = jumpNote_.empty();
    if (!unaveragedRead_)
        unaveraged_ = ContourModel{};
}

const std::vector<double>* CompanionFiles::displacements() const {
    return displacements_.empty() ? nullptr : &displacements_;
}

const ContourModel* CompanionFiles::unaveraged() const {
    return unaveragedRead_ ? &unaveraged_ : nullptr;
}

std::string CompanionFiles::notes() const {
    std::string s;
    if (!deformationNote_.empty())
        s += "Deformed Shape unavailable: " + deformationNote_ + ".";
    else if (defaultScale_ == 0.0)
        s += "Every translation in " + beside(kNodeDisplacementFileName) + " is zero.";
    if (!jumpNote_.empty())
        s += std::string(s.empty() ? "" : "  ") + "Averaging Jump unavailable: " + jumpNote_ + ".";
    return s;
}

} // namespace shellfem::viewer
