// The string-list component: the owned list's rules seen through the component, its events
// and what a form keeps of it.
#include "library/services/strlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "library/foundation/application.h"
#include "library/services/services.h"
#include "support/app.h"

namespace zyr {
namespace {

using host::dupAccept;
using host::dupError;
using host::dupIgnore;
using host::TStringList;

std::vector<std::string> Lines(const host::TStrings* s) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < s->Count(); ++i) out.push_back(s->Strings(i));
  return out;
}
using V = std::vector<std::string>;

TEST(StrList, NewListAcceptsDuplicatesUnlikeAPlainHostList) {
  TZYRStrList list(nullptr);
  EXPECT_EQ(list.Duplicates(), dupAccept);
  EXPECT_FALSE(list.Sorted());
  list.SetSorted(true);
  list.Items()->Add("b");
  list.Items()->Add("a");
  list.Items()->Add("b");
  EXPECT_EQ(Lines(list.Items()), (V{"a", "b", "b"}));
  TStringList plain;
  plain.SetSorted(true);
  plain.Add("b");
  plain.Add("b");
  EXPECT_EQ(plain.Count(), 1);
}

TEST(StrList, SortedAndDuplicatesCombinations) {
  const struct {
    bool sorted;
    host::TDuplicates duplicates;
    V expected;
    bool raises;
  } cases[] = {
      {false, dupAccept, {"c", "a", "c", "b"}, false},
      {false, dupIgnore, {"c", "a", "c", "b"}, false},  // only a sorted list looks at Duplicates
      {false, dupError, {"c", "a", "c", "b"}, false},
      {true, dupAccept, {"a", "b", "c", "c"}, false},
      {true, dupIgnore, {"a", "b", "c"}, false},
      {true, dupError, {"a", "c"}, true},
  };
  for (const auto& c : cases) {
    TZYRStrList list(nullptr);
    list.SetSorted(c.sorted);
    list.SetDuplicates(c.duplicates);
    EXPECT_EQ(list.Duplicates(), c.duplicates);
    bool raised = false;
    try {
      for (const char* s : {"c", "a", "c", "b"}) list.Items()->Add(s);
    } catch (const host::Exception& e) {
      raised = true;
      EXPECT_STREQ(e.what(), "String list does not allow duplicates");
    }
    EXPECT_EQ(raised, c.raises) << c.sorted << " " << int(c.duplicates);
    EXPECT_EQ(Lines(list.Items()), c.expected) << c.sorted << " " << int(c.duplicates);
  }
  // Sorting later orders what is there and keeps duplicates already present.
  TZYRStrList later(nullptr);
  later.Items()->SetText("z\r\ny\r\nz\r\n");
  later.SetDuplicates(dupIgnore);
  later.SetSorted(true);
  EXPECT_EQ(Lines(later.Items()), (V{"y", "z", "z"}));
  EXPECT_THROW(later.Items()->Insert(0, "a"), host::Exception);  // a sorted list keeps its order
  later.SetSorted(false);
  later.Items()->Insert(0, "a");
  EXPECT_EQ(later.Items()->Text(), "a\r\ny\r\nz\r\nz\r\n");
}

TEST(StrList, AssigningItemsCopiesThem) {
  TZYRStrList list(nullptr);
  TStringList source;
  source.SetText("one\ntwo");
  list.SetItems(&source);
  source.Add("three");
  source.Put(0, "changed");
  EXPECT_EQ(Lines(list.Items()), (V{"one", "two"}));
  EXPECT_EQ(list.Items()->Text(), "one\r\ntwo\r\n");
  // A sorted component sorts what it is given.
  list.SetSorted(true);
  list.SetItems(&source);
  EXPECT_EQ(Lines(list.Items()), (V{"changed", "three", "two"}));
  // Assigning its own list leaves it as it is; nothing is refused plainly.
  list.SetItems(list.Items());
  EXPECT_EQ(list.Items()->Count(), 3);
  try {
    list.SetItems(nullptr);
    FAIL() << "nil was assigned";
  } catch (const host::Exception& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a nil to a TStringList");
  }
  EXPECT_EQ(list.Items()->Count(), 3);
}

TEST(StrList, EventsAreTheListsOwnWithTheListAsSender) {
  TZYRStrList list(nullptr);
  std::vector<std::string> log;
  list.OnChanging = [&](TObject* sender) {
    log.push_back(sender == list.List() ? "changing(list)" : "changing(other)");
  };
  list.OnChange = [&](TObject* sender) { log.push_back(sender == list.List() ? "change(list)" : "change(other)"); };
  EXPECT_TRUE(list.List()->OnChange);  // the component's OnChange is the list's
  list.Items()->Add("x");
  EXPECT_EQ(log, (V{"changing(list)", "change(list)"}));
  log.clear();
  // Sorted changes the list only when it really changes.
  list.Items()->Add("a");
  log.clear();
  list.SetSorted(true);
  EXPECT_EQ(log, (V{"changing(list)", "change(list)"}));
  log.clear();
  list.SetSorted(true);
  EXPECT_TRUE(log.empty());
  // The base component's change notification is not the list's.
  list.Change();
  EXPECT_TRUE(log.empty());
}

// A form with a handler for the list's events.
class TListForm : public host::TForm {
  HOST_CLASS(TListForm)
  explicit TListForm(TComponent* owner) : host::TForm(owner) {}
  int changes = 0;
  TObject* last_sender = nullptr;
  void LinesChanged(TObject* sender) {
    ++changes;
    last_sender = sender;
  }
};
HOST_PUBLISHED(TListForm, host::TForm) { HOST_METHOD(LinesChanged); }

class StrListForm : public testing_app::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    InitLibrary();
    RegisterServicesClasses();
  }
  void TearDown() override {
    DoneLibrary();
    AppTest::TearDown();
  }
};

TEST_F(StrListForm, SortedAndDuplicatesAreAlwaysStored) {
  auto* form = host::New<host::TForm>(host::Application());
  auto* list = host::New<TZYRStrList>(form);
  list->SetName("Empty");
  const std::string text = host::WriteComponentToText(form);
  EXPECT_NE(text.find("  object Empty: TZYRStrList\n    Sorted = False\n    Duplicates = dupAccept\n  end\n"),
            std::string::npos)
      << text;
}

TEST_F(StrListForm, ItemsRoundTripWithTheirOrderAndEvents) {
  const char* text = R"(object ListForm: TListForm
  object Lines1: TZYRStrList
    About = 'v2.0'
    Items.Strings = (
      'pear'
      'It''s'
      ''
      'apple'
      'pear')
    Sorted = True
    Duplicates = dupIgnore
    OnChange = LinesChanged
  end
end
)";
  auto* form = host::New<TListForm>(host::Application());
  host::ReadComponentFromText(form, text, "lists.form");
  auto* list = dynamic_cast<TZYRStrList*>(form->FindComponent("Lines1"));
  ASSERT_NE(list, nullptr);
  // Read in order: the lines first, then sorted (both pears stay), then the duplicate rule.
  EXPECT_EQ(Lines(list->Items()), (V{"", "apple", "It's", "pear", "pear"}));
  EXPECT_TRUE(list->Sorted());
  EXPECT_EQ(list->Duplicates(), dupIgnore);
  EXPECT_EQ(list->About(), "v2.0");
  form->changes = 0;
  list->Items()->Add("fig");
  EXPECT_EQ(form->changes, 1);
  EXPECT_EQ(form->last_sender, list->List());
  list->Items()->Add("fig");  // ignored now
  EXPECT_EQ(list->Items()->Count(), 6);

  const std::string written = host::WriteComponentToText(form);
  EXPECT_NE(written.find("    OnChange = LinesChanged\n"), std::string::npos) << written;
  EXPECT_EQ(written.find("OnChanging"), std::string::npos) << written;
  auto* copy = host::New<TListForm>(host::Application());
  host::ReadComponentFromText(copy, written, "copy.form");
  auto* again = dynamic_cast<TZYRStrList*>(copy->FindComponent("Lines1"));
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->Items()->Equals(*list->Items()));
  EXPECT_EQ(again->Duplicates(), dupIgnore);
  EXPECT_TRUE(again->Sorted());
  // The same text apart from the second form's name.
  const std::string rewritten = host::WriteComponentToText(copy);
  EXPECT_EQ(rewritten.substr(rewritten.find('\n')), written.substr(written.find('\n')));
}

TEST_F(StrListForm, BadStoredValuesNameTheLine) {
  const struct {
    const char* body;
    const char* message;
  } cases[] = {
      {"    Duplicates = dupSome\n", "bad.form(3): Error reading L.Duplicates: 'dupSome' is not a value of TDuplicates"},
      {"    Sorted = 1\n", "bad.form(3): Error reading L.Sorted: Expected True or False, found integer"},
      {"    Items = 'x'\n",
       "bad.form(3): Error reading L.Items: Property Items holds an object: store its properties (Items.Name = ...)"},
      {"    OnChanging = Missing\n", "bad.form(3): Error reading L.OnChanging: TListForm has no handler method Missing"},
  };
  for (const auto& c : cases) {
    auto* form = host::New<TListForm>(host::Application());
    const std::string text = std::string("object F: TListForm\n  object L: TZYRStrList\n") + c.body + "  end\nend\n";
    try {
      host::ReadComponentFromText(form, text, "bad.form");
      ADD_FAILURE() << "read: " << c.body;
    } catch (const host::Exception& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(form->FindComponent("L"), nullptr);
    form->Free();
  }
}

}  // namespace
}  // namespace zyr
