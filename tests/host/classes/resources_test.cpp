#include "host/classes/resources.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/classes/sysutils.h"

void EmbedTestResources();  // generated from tests/host/classes/resources_data

using namespace host;
namespace fs = std::filesystem;

namespace {

std::string Text(const ResourceFile* file) {
  if (!file) return "<missing>";
  return std::string(reinterpret_cast<const char*>(file->data.data()), file->data.size());
}

std::string Bytes(std::string_view s) { return std::string(s); }

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const uint8_t kLib[] = {'l', 'i', 'b'};
const uint8_t kApp[] = {'a', 'p', 'p'};
const uint8_t kOther[] = {'o'};

}  // namespace

TEST(Resources, LookupIgnoresAsciiCaseOnlyAndLaterBlocksWin) {
  const ResourceFile library[] = {{"unit/Forms/Main.form", kLib}, {"unit/Only-Lib.txt", kLib}};
  const ResourceFile program[] = {{"unit/forms/MAIN.FORM", kApp}, {"unit/\xC3\x84.txt", kOther}};
  RegisterResources(library);
  RegisterResources(program);

  EXPECT_EQ(Text(FindResourceFile("unit/forms/main.form")), "app");
  EXPECT_EQ(Text(FindResourceFile("UNIT/FORMS/MAIN.FORM")), "app");
  EXPECT_EQ(FindResourceFile("Unit/Forms/Main.form")->name, "unit/forms/MAIN.FORM");
  EXPECT_EQ(Text(FindResourceFile("unit/only-lib.TXT")), "lib");
  EXPECT_EQ(Text(FindResourceFile("unit/\xC3\x84.txt")), "o");
  // Only ASCII letters fold: the lower-case umlaut is another name.
  EXPECT_EQ(FindResourceFile("unit/\xC3\xA4.txt"), nullptr);
  EXPECT_EQ(FindResourceFile("unit/forms/main.df"), nullptr);
  EXPECT_EQ(FindResourceFile("unit/forms/main.form "), nullptr);
  EXPECT_EQ(FindResourceFile(""), nullptr);

  // Registering the library block again puts its file back on top.
  RegisterResources(library);
  EXPECT_EQ(Text(FindResourceFile("unit/forms/main.form")), "lib");
}

TEST(Resources, NamesAreSortedAndKeepTheirCase) {
  const ResourceFile files[] = {{"names/b.txt", kLib}, {"names/B2.txt", kLib},
                                {"names/a/z.txt", kLib}, {"names/a.txt", kLib}};
  RegisterResources(files);
  const std::vector<std::string> names = ResourceNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  std::vector<std::string> ours;
  std::copy_if(names.begin(), names.end(), std::back_inserter(ours),
               [](const std::string& n) { return n.starts_with("names/"); });
  EXPECT_EQ(ours, (std::vector<std::string>{"names/B2.txt", "names/a.txt", "names/a/z.txt",
                                            "names/b.txt"}));
}

TEST(Resources, StringsLoadReplaceAndFormat) {
  std::string temporary = "first %d of %s";
  RegisterStrings(std::vector<StringResource>{{-7, temporary}, {900001, "second"}});
  temporary.assign("overwritten, the table must hold its own copy");
  EXPECT_EQ(LoadStr(-7), "first %d of %s");
  EXPECT_EQ(FmtLoadStr(-7, {3, "four"}), "first 3 of four");
  EXPECT_EQ(LoadStr(900001), "second");

  const StringResource replacement[] = {{900001, "replaced"}};
  RegisterStrings(replacement);
  EXPECT_EQ(LoadStr(900001), "replaced");

  EXPECT_EQ(LoadStr(900002), "");
  EXPECT_EQ(FmtLoadStr(900002, {}), "");
  try {
    FmtLoadStr(-7, {"not a number", "x"});
    FAIL() << "a string for %d must be refused";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Format 'first %d of %s' invalid or incompatible with argument");
  }
}

TEST(EmbeddedResources, BytesMatchTheFilesOnDisk) {
  EmbedTestResources();
  const size_t before = ResourceNames().size();
  EmbedTestResources();  // a second call adds nothing
  EXPECT_EQ(ResourceNames().size(), before);

  const fs::path folder = fs::path(SHOWRAMA_SOURCE_DIR) / "tests/host/classes/resources_data";
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), folder).generic_string();
    const std::string leaf = entry.path().filename().string();
    const ResourceFile* file = FindResourceFile(relative);
    if (leaf.starts_with(".") || leaf.starts_with("README")) {
      EXPECT_EQ(file, nullptr) << relative << " should have been left out";
      continue;
    }
    ASSERT_NE(file, nullptr) << relative;
    EXPECT_EQ(file->name, relative);
    EXPECT_EQ(Text(file), ReadAll(entry.path())) << relative;
    EXPECT_EQ(file->data.data()[file->data.size()], 0) << relative << " lacks its NUL";
    ++checked;
  }
  EXPECT_EQ(checked, 4);

  EXPECT_EQ(Text(FindResourceFile("bin/BLOB.bin")), Bytes({"\x00\xFF\x01\x7F\x80\x00", 6}));
  EXPECT_STREQ(reinterpret_cast<const char*>(FindResourceFile("hello.txt")->data.data()),
               "Hello, resources!\n");
  EXPECT_EQ(Text(FindResourceFile("names/\xC3\xA9"
                                  "a7 \xC3\xBC.txt")),
            "umlaut name\n");
}

// The generator run by hand on folders made for the purpose.
class EmbedTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("embed_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "in");
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  void Put(const std::string& name, std::string_view bytes) {
    const fs::path path = dir_ / "in" / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }

  // Exit status of the tool; its messages land in errors_.
  int Run(const std::string& function = "Register") {
    const auto quote = [](const fs::path& p) { return "'" + p.string() + "'"; };
    const std::string command = std::string(SHOWRAMA_EMBED_TOOL) + " " +
                                quote(dir_ / "out.cpp") + " '" + function + "' " +
                                quote(dir_ / "in") + " 2>" + quote(dir_ / "errors.txt");
    const int status = std::system(command.c_str());
    errors_ = ReadAll(dir_ / "errors.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Output() { return ReadAll(dir_ / "out.cpp"); }

  fs::path dir_;
  std::string errors_;
};

TEST_F(EmbedTool, EscapesAwkwardNamesAndWritesEveryByte) {
  Put("q\"b\\c\001f.bin", {"\x00\xFF", 2});
  Put("sub/\xC3\xA9" "7 end\\", "x");
  Put("\n", "");
  Put("seventeen.bin", "0123456789abcdefg");
  ASSERT_EQ(Run(), 0) << errors_;
  const std::string out = Output();
  EXPECT_NE(out.find(R"("q\"b\\c\001f.bin", 11)"), std::string::npos) << out;
  // Octal escapes stop after three digits, so the following '7' stays a character.
  EXPECT_NE(out.find(R"("sub/\303\2517 end\\", 12)"), std::string::npos) << out;
  EXPECT_NE(out.find(R"("\012", 1), std::span<const uint8_t>(kData0, 0))"), std::string::npos)
      << out;
  EXPECT_NE(out.find("[3] = {\n    0x00, 0xff, 0x00,\n};"), std::string::npos) << out;
  // Sixteen bytes a line, then the seventeenth and the closing NUL.
  EXPECT_NE(out.find("0x66,\n    0x67, 0x00,\n};"), std::string::npos) << out;
  EXPECT_NE(out.find("void Register() {"), std::string::npos);
}

TEST_F(EmbedTool, LeavesAnUnchangedOutputAlone) {
  Put("a.txt", "one");
  ASSERT_EQ(Run(), 0) << errors_;
  const fs::path out = dir_ / "out.cpp";
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(out, old);
  ASSERT_EQ(Run(), 0) << errors_;
  EXPECT_EQ(fs::last_write_time(out), old);

  Put("a.txt", "two");
  ASSERT_EQ(Run(), 0) << errors_;
  EXPECT_NE(fs::last_write_time(out), old);
  EXPECT_NE(Output().find("0x74, 0x77, 0x6f, 0x00,"), std::string::npos);
}

TEST_F(EmbedTool, RefusesWhatItCannotEmbed) {
  Put("ok.txt", "fine");
  EXPECT_EQ(Run("2bad"), 1);
  EXPECT_EQ(errors_, "embed: not a C++ function name: '2bad'\n");

  fs::create_symlink(dir_ / "nowhere", dir_ / "in" / "dangling.txt");
  EXPECT_EQ(Run(), 1);
  EXPECT_NE(errors_.find((dir_ / "in" / "dangling.txt").string()), std::string::npos) << errors_;
  fs::remove(dir_ / "in" / "dangling.txt");

  fs::create_directories(dir_ / "in" / "deep");
  fs::create_directory_symlink(dir_ / "in", dir_ / "in" / "deep" / "loop");
  EXPECT_EQ(Run(), 1);
  EXPECT_NE(errors_.find("folder link loop at "), std::string::npos) << errors_;
  fs::remove(dir_ / "in" / "deep" / "loop");

  Put("OK.TXT", "clash");
  EXPECT_EQ(Run(), 1);
  EXPECT_NE(errors_.find("names differ only in case"), std::string::npos) << errors_;
  fs::remove(dir_ / "in" / "OK.TXT");

  if (::geteuid() != 0) {  // the superuser reads anything
    Put("locked.txt", "secret");
    fs::permissions(dir_ / "in" / "locked.txt", fs::perms::none);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(errors_, "embed: cannot open " + (dir_ / "in" / "locked.txt").string() + "\n");
  }
  EXPECT_FALSE(fs::exists(dir_ / "out.cpp")) << "a failed run must not leave output";
}
