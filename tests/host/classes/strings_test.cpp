#include "host/classes/strings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace host;

namespace {

std::string Joined(const TStrings& s) {
  std::string out;
  for (int32_t i = 0; i < s.Count(); ++i) out += (i ? "|" : "") + s.Strings(i);
  return out;
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EStringListError& e) {
    return e.Message();
  }
  return "no error";
}

}  // namespace

TEST(TStringList, SortedAndDuplicatesCombinations) {
  struct Case {
    bool sorted;
    TDuplicates dups;
    const char* expected;  // after adding b, A, c, a, b
    const char* error;
  };
  const Case cases[] = {
      {false, dupError, "b|A|c|a|b", ""},  // an unsorted list takes anything
      {true, dupIgnore, "A|b|c", ""},
      {true, dupAccept, "a|A|b|b|c", ""},  // a new equal item goes before the old ones
      {true, dupError, "A|b|c", "String list does not allow duplicates"},
  };
  for (const Case& c : cases) {
    TStringList l;
    l.SetSorted(c.sorted);
    l.SetDuplicates(c.dups);
    std::string error;
    for (const char* s : {"b", "A", "c", "a", "b"}) {
      try {
        l.Add(s);
      } catch (const EStringListError& e) {
        if (error.empty()) error = e.Message();
      }
    }
    EXPECT_EQ(Joined(l), c.expected) << c.sorted << c.dups;
    EXPECT_EQ(error, c.error);
  }
}

TEST(TStringList, SortedListsSearchAndRefuseOrderChanges) {
  TStringList l;
  l.SetText("pear\nApple\nfig\nbanana\n");
  l.SetSorted(true);
  EXPECT_EQ(Joined(l), "Apple|banana|fig|pear");
  int32_t at = -1;
  EXPECT_TRUE(l.Find("APPLE", at));
  EXPECT_EQ(at, 0);
  EXPECT_FALSE(l.Find("cherry", at));
  EXPECT_EQ(at, 2);
  EXPECT_EQ(l.IndexOf("FIG"), 2);
  EXPECT_EQ(l.Add("cherry"), 2);
  EXPECT_EQ(ErrorOf([&] { l.Insert(0, "x"); }), "Operation not allowed on sorted string list");
  EXPECT_EQ(ErrorOf([&] { l.Put(0, "x"); }), "Operation not allowed on sorted string list");
  l.SetCaseSensitive(true);  // byte order: capitals first
  l.Add("Zed");
  EXPECT_EQ(Joined(l), "Apple|Zed|banana|cherry|fig|pear");
  EXPECT_EQ(l.IndexOf("APPLE"), -1);
  l.SetSorted(false);
  l.Insert(0, "x");
  EXPECT_EQ(l.Strings(0), "x");
}

TEST(TStringList, IndexErrorsNameTheIndex) {
  TStringList l;
  l.Add("a");
  EXPECT_EQ(ErrorOf([&] { l.Strings(1); }), "List index out of bounds (1)");
  EXPECT_EQ(ErrorOf([&] { l.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([&] { l.Insert(2, "b"); }), "List index out of bounds (2)");
  EXPECT_EQ(ErrorOf([&] { l.Objects(3); }), "List index out of bounds (3)");
  EXPECT_THROW(l.Strings(5), EListError);  // one handler catches both list kinds
}

TEST(TStringList, NamesAndValues) {
  TStringList l;
  l.SetText("Width=10\nplain\nHeight=20=x\n=empty name\n");
  EXPECT_EQ(l.Values("width"), "10");
  EXPECT_EQ(l.Values("Height"), "20=x");
  EXPECT_EQ(l.Values("plain"), "");
  EXPECT_EQ(l.Names(1), "");
  EXPECT_EQ(l.Names(2), "Height");
  EXPECT_EQ(l.IndexOfName(""), 3);
  l.SetValue("WIDTH", "11");
  EXPECT_EQ(l.Strings(0), "WIDTH=11");
  l.SetValue("Depth", "3");
  EXPECT_EQ(l.Strings(4), "Depth=3");
  l.SetValue("Height", "");
  EXPECT_EQ(Joined(l), "WIDTH=11|plain|=empty name|Depth=3");
  l.SetValue("missing", "");
  EXPECT_EQ(l.Count(), 4);
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOfName("width"), -1);
}

TEST(TStringList, TextLineEnds) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},           {"a", "a"},           {"a\r\n", "a"},     {"a\nb", "a|b"},
      {"a\rb\r", "a|b"},  {"a\r\n\r\nb", "a||b"}, {"a\n\r", "a|"},  {"\n", ""},
      {"\r\n\n", "|"},    {"x\r\ny\nz\rw", "x|y|z|w"},
  };
  for (auto [text, lines] : cases) {
    TStringList l;
    l.SetText(text);
    EXPECT_EQ(Joined(l), lines) << text;
  }
  TStringList l;
  l.SetText("a\nb\n\n");
  EXPECT_EQ(l.Text(), "a\r\nb\r\n\r\n");
}

TEST(TStringList, CommaTextQuotingRoundTrips) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"a", "b"}, "a,b"},
      {{"a b", "c"}, "\"a b\",c"},
      {{"x,y", "say \"hi\""}, "\"x,y\",\"say \"\"hi\"\"\""},
      {{""}, "\"\""},
      {{"", "a"}, ",a"},
      {{}, ""},
  };
  for (const auto& [items, text] : cases) {
    TStringList l;
    for (const auto& s : items) l.Add(s);
    EXPECT_EQ(l.CommaText(), text);
    TStringList back;
    back.SetCommaText(text);
    EXPECT_TRUE(back.Equals(l)) << text << " -> " << Joined(back);
  }
  TStringList l;
  l.SetCommaText("  one two, \"three, four\" ,five,");
  EXPECT_EQ(Joined(l), "one|two|three, four|five|");
  l.SetDelimiter(';');
  EXPECT_EQ(l.DelimitedText(), "one;two;\"three, four\";five;");
  EXPECT_EQ(l.CommaText(), "one,two,\"three, four\",five,");
}

TEST(TStringList, UpdatesReportOnceAndOnlyWhenSomethingChanged) {
  TStringList l;
  int changing = 0, changed = 0;
  l.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &l);
    ++changing;
  };
  l.OnChange = [&](TObject*) { ++changed; };
  l.Add("a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  l.BeginUpdate();
  l.BeginUpdate();
  l.Add("b");
  l.Add("c");
  l.EndUpdate();
  EXPECT_EQ(changed, 1);  // still inside the outer update
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  l.BeginUpdate();
  l.EndUpdate();
  EXPECT_EQ(changed, 2);  // nothing changed, nothing reported
  l.SetText("x\ny\nz");   // one report for the whole text
  EXPECT_EQ(changed, 3);
  l.EndUpdate();  // an unbalanced end is harmless
  EXPECT_EQ(l.UpdateCount(), 0);
}

TEST(TStringList, ObjectsFollowTheirStrings) {
  TStringList a;
  TObject o1, o2;
  a.AddObject("b", &o1);
  a.AddObject("a", &o2);
  a.Exchange(0, 1);
  EXPECT_EQ(a.Objects(0), &o2);
  a.Sort();
  EXPECT_EQ(a.Objects(0), &o2);
  a.Move(0, 1);
  EXPECT_EQ(Joined(a), "b|a");
  EXPECT_EQ(a.Objects(1), &o2);
  TStringList b;
  b.SetSorted(true);
  b.Assign(&a);
  EXPECT_EQ(Joined(b), "a|b");
  EXPECT_EQ(b.Objects(0), &o2);
  EXPECT_EQ(b.IndexOfObject(&o1), 1);
  TPersistent other;
  EXPECT_THROW(b.Assign(&other), EConvertError);
}

TEST(TStringList, FilesAndStreamsUseCrLf) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("strings_test_" + std::to_string(::getpid()))).string();
  TStringList l;
  l.SetText("one\ntwo");
  l.SaveToFile(path);
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "one\r\ntwo\r\n");
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Equals(l));
  std::remove(path.c_str());
  EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
  TMemoryStream s;
  s.WriteBuffer("\xEF\xBB\xBFx\ry", 6);
  s.SetPosition(0);
  back.LoadFromStream(s);
  EXPECT_EQ(Joined(back), "x|y");
}

TEST(TStringList, SetValueOnASortedListKeepsTheOrder) {
  TStringList l;
  l.SetSorted(true);
  l.SetCommaText("b=2,c=3");
  l.SetValue("b", "9");  // "b=9" still sorts between nothing and c
  l.SetValue("a", "1");
  EXPECT_EQ(Joined(l), "a=1|b=9|c=3");
}
