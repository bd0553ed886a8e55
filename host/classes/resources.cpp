#include "host/classes/resources.h"

#include <algorithm>
#include <map>

namespace host {

namespace {

// Function-local statics: generated registrars and other static initialisers may run before
// any global object of this file would have been constructed.
std::map<std::string, ResourceFile>& FileTable() {
  static std::map<std::string, ResourceFile> table;  // keyed by the lower-case name
  return table;
}

std::map<int, std::string>& StringTable() {
  static std::map<int, std::string> table;
  return table;
}

std::string FoldCase(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

}  // namespace

void RegisterResources(std::span<const ResourceFile> files) {
  auto& table = FileTable();
  for (const ResourceFile& file : files) table.insert_or_assign(FoldCase(file.name), file);
}

const ResourceFile* FindResourceFile(std::string_view name) {
  const auto& table = FileTable();
  const auto it = table.find(FoldCase(name));
  return it == table.end() ? nullptr : &it->second;
}

std::vector<std::string> ResourceNames() {
  std::vector<std::string> names;
  names.reserve(FileTable().size());
  for (const auto& [key, file] : FileTable()) names.emplace_back(file.name);
  // The keys are folded; the names keep the case they were registered with.
  std::sort(names.begin(), names.end());
  return names;
}

void RegisterStrings(std::span<const StringResource> strings) {
  auto& table = StringTable();
  for (const StringResource& s : strings) table.insert_or_assign(s.id, std::string(s.text));
}

std::string LoadStr(int id) {
  const auto& table = StringTable();
  const auto it = table.find(id);
  return it == table.end() ? std::string() : it->second;
}

std::string FmtLoadStr(int id, std::initializer_list<FormatArg> args) {
  return Format(LoadStr(id), args);
}

}  // namespace host
