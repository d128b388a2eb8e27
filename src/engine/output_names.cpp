#include "engine/output_names.h"

#include <optional>

namespace tarvik {
namespace {

template <typename Key>
const RunNames::Owner* Find(const std::map<Key, RunNames::Owner>& owners, const Key& key) {
    const auto found = owners.find(key);
    return found == owners.end() ? nullptr : &found->second;
}

// The owner of the path or of the file it reaches.
const RunNames::Owner* Holder(const std::map<std::string, RunNames::Owner>& byPath,
                              const std::map<FileId, RunNames::Owner>& byId,
                              const std::string& normal, const std::optional<FileId>& id) {
    if (const RunNames::Owner* owner = Find(byPath, normal); owner != nullptr) {
        return owner;
    }
    return id ? Find(byId, *id) : nullptr;
}

}  // namespace

void NoteRunInput(RunNames& names, const std::string& source, const std::string& relativeFolder) {
    const RunNames::Owner owner{source, relativeFolder};
    names.Inputs.emplace(NormalPath(source), owner);
    if (const std::optional<FileId> id = FileIdOf(source)) {
        names.InputIds.emplace(*id, owner);
    }
}

NameClash CheckOutputName(const RunNames& names, const std::string& output,
                          const std::string& source) {
    const std::string normal = NormalPath(output);
    const std::optional<FileId> id = FileIdOf(output);
    if (normal == NormalPath(source) || (id && id == FileIdOf(source))) {
        return {ConvertFailure::SameAsInput, {source, {}}};
    }
    if (const RunNames::Owner* input = Holder(names.Inputs, names.InputIds, normal, id)) {
        return {ConvertFailure::NamesAnInput, *input};
    }
    if (const RunNames::Owner* writer = Holder(names.Outputs, names.OutputIds, normal, id)) {
        return {ConvertFailure::NameTaken, *writer};
    }
    return {};
}

void NoteWrittenOutput(RunNames& names, const std::string& output, const std::string& source,
                       const std::string& relativeFolder) {
    const RunNames::Owner owner{source, relativeFolder};
    names.Outputs.emplace(NormalPath(output), owner);
    if (const std::optional<FileId> id = FileIdOf(output)) {
        names.OutputIds.emplace(*id, owner);
    }
}

}  // namespace tarvik
