// Files embedded into the program at build time (forms, bitmaps, icons, cursors, sounds) and
// numbered message strings, looked up at run time so the program runs from any directory.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/classes/format.h"

namespace host {

struct ResourceFile {
  std::string_view name;  // path below its resource folder, '/' separated: "forms/main.form"
  std::span<const uint8_t> data;
};

// Adds a block of embedded files; the build generates one block per resource folder and a
// function that registers it (see cmake/EmbedResources.cmake). A later block with the same
// name wins, so a program can override a library file.
void RegisterResources(std::span<const ResourceFile> files);

// The bytes of an embedded file, looked up by name ignoring ASCII case; nullptr when there
// is none. The data lives as long as the program.
const ResourceFile* FindResourceFile(std::string_view name);
std::vector<std::string> ResourceNames();  // sorted, for tools and diagnostics

struct StringResource {
  int id;
  std::string_view text;
};

// Adds numbered strings; ids already present are replaced.
void RegisterStrings(std::span<const StringResource> strings);
// The string numbered id, or "" when there is none (as the classic call behaves).
std::string LoadStr(int id);
// LoadStr(id) used as a Format pattern.
std::string FmtLoadStr(int id, std::initializer_list<FormatArg> args);

}  // namespace host
