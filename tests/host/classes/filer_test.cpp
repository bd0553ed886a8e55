#include "host/classes/filer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/classes/publish.h"
#include "host/classes/resources.h"
#include "host/classes/strings.h"
#include "host/graphics/color.h"

namespace host {
namespace {

std::vector<std::string> g_log;

HOST_ENUM(TShade, uint8_t, shLight, shMedium, shDark)
using TShades = Set<TShade>;
using TPointEvent = std::function<void(TObject* sender, int x)>;

class TGadgetOptions : public TPersistent {
  HOST_CLASS(TGadgetOptions)
  int32_t Depth() const { return depth_; }
  void SetDepth(int32_t v) { depth_ = v; }
  TShade Shade() const { return shade_; }
  void SetShade(TShade v) { shade_ = v; }
  TNotifyEvent OnChange;

 private:
  int32_t depth_ = 2;
  TShade shade_ = shLight;
};
HOST_PUBLISHED(TGadgetOptions, TPersistent) {
  HOST_PROP(Depth, 2).Range(0, 10);
  HOST_PROP(Shade, shLight);
  HOST_EVENT(OnChange);
}

class TGadget : public TComponent {
  HOST_CLASS(TGadget)
  explicit TGadget(TComponent* owner) : TComponent(owner) {}

  int32_t Count() const { return count_; }
  void SetCount(int32_t v) { count_ = v; }
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  char Letter() const { return letter_; }
  void SetLetter(char v) { letter_ = v; }
  uint8_t Small() const { return small_; }
  void SetSmall(uint8_t v) { small_ = v; }
  TShade Shade() const { return shade_; }
  void SetShade(TShade v) { shade_ = v; }
  TShades Shades() const { return shades_; }
  void SetShades(TShades v) { shades_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  std::string Code() const { return code_; }
  void SetCode(std::string v) { code_ = std::move(v); }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  double When() const { return when_; }
  void SetWhen(double v) { when_ = v; }
  TGadgetOptions* Options() const { return options_.get(); }
  TStrings* Lines() const { return lines_.get(); }
  TGadget* Buddy() const { return buddy_; }
  void SetBuddy(TGadget* v) {
    buddy_ = v;
    if (v) v->FreeNotification(this);
  }
  TNotifyEvent OnPing;
  TPointEvent OnPoint;

  std::vector<uint8_t> blob;
  bool has_blob = false;
  int32_t old_width = -1;
  TComponent* parent = nullptr;
  bool fail_in_loaded = false;

  void ReadState(TReader& reader) override {
    g_log.push_back("read " + Name());
    TComponent::ReadState(reader);
  }
  void Loaded() override {
    TComponent::Loaded();
    g_log.push_back("Loaded " + Name() + " buddy=" + (buddy_ ? buddy_->Name() : "nil") +
                    (ComponentState().Contains(csReading) ? " reading" : ""));
    if (fail_in_loaded) throw EInvalidOperation("the gadget cannot start");
  }
  bool HasParent() const override { return parent != nullptr; }
  TComponent* GetParentComponent() const override { return parent; }
  void SetParentComponent(TComponent* p) override { parent = p; }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (int i = 0; i < root->ComponentCount(); ++i) {
      auto* g = dynamic_cast<TGadget*>(root->Components(i));
      if (g && g->parent == this) proc(g);
    }
  }
  void DefineProperties(TFiler& filer) override {
    TComponent::DefineProperties(filer);
    // A property of older versions: read and dropped, never written.
    filer.DefineProperty("OldWidth", [this](TReader& r) { old_width = static_cast<int32_t>(r.ReadInteger()); }, nullptr,
                         false);
    filer.DefineBinaryProperty(
        "Blob",
        [this](TStream& s) {
          blob = s.ReadAll();
          has_blob = true;
        },
        [this](TStream& s) { s.WriteBuffer(blob.data(), static_cast<int64_t>(blob.size())); }, has_blob);
  }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == buddy_) buddy_ = nullptr;
  }

 private:
  int32_t count_ = 3;
  bool active_ = false;
  char letter_ = 'a';
  uint8_t small_ = 0;
  TShade shade_ = shMedium;
  TShades shades_;
  TColor color_ = clBtnFace;
  std::string caption_;
  std::string code_;
  double ratio_ = 0;
  double when_ = 0;
  std::unique_ptr<TGadgetOptions> options_ = std::make_unique<TGadgetOptions>();
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
  TGadget* buddy_ = nullptr;
};
HOST_PUBLISHED(TGadget, TComponent) {
  HOST_PROP(Active);
  HOST_PROP(Buddy);
  HOST_PROP(Caption);
  HOST_PROP(Code).MaxLength(8);
  HOST_COLOR_PROP(Color, clBtnFace);
  HOST_PROP(Count, 3);
  HOST_PROP(Letter, 'a');
  HOST_OBJECT_PROP(Lines);
  HOST_OBJECT_PROP(Options);
  HOST_PROP(Ratio);
  HOST_PROP(Shade, shMedium);
  HOST_PROP(Shades, TShades{});
  HOST_PROP(Small, 0);
  HOST_DATETIME_PROP(When);
  HOST_EVENT(OnPing);
  HOST_EVENT(OnPoint);
}

class TGadgetForm : public TComponent {
  HOST_CLASS(TGadgetForm)
  explicit TGadgetForm(TComponent* owner) : TComponent(owner) {}
  TGadget* Gadget1 = nullptr;
  TGadget* Gadget2 = nullptr;
  int pings = 0;
  int last_x = 0;
  void PingClick(TObject*) { ++pings; }
  void PointAt(TObject*, int x) { last_x = x; }
  std::string resource;
  std::string FormResource() const override { return resource; }
  void ReadState(TReader& reader) override {
    g_log.push_back("read " + Name());
    TComponent::ReadState(reader);
  }
  void Loaded() override {
    TComponent::Loaded();
    g_log.push_back("Loaded " + Name() + (Gadget1 ? " fields set" : " fields empty"));
  }
  void AfterConstruction() override { g_log.push_back("OnCreate"); }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (int i = 0; i < ComponentCount(); ++i) {
      auto* g = dynamic_cast<TGadget*>(Components(i));
      if (g && g->Owner() == root && g->parent == this) proc(g);
    }
  }
};
HOST_PUBLISHED(TGadgetForm, TComponent) {
  HOST_FIELD(Gadget1);
  HOST_FIELD(Gadget2);
  HOST_METHOD(PingClick);
  HOST_METHOD(PointAt);
}

class FilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses({TGadget::StaticClass(), TGadgetForm::StaticClass()});
    g_log.clear();
  }
};

const char kForm[] = R"(object Form: TGadgetForm
  Tag = 7
  object Gadget1: TGadget
    Active = True
    Buddy = Gadget2
    Caption = 'It''s'#13#10'two lines'
    Code = 'AB'
    Color = clRed
    Count = -5
    Letter = 'z'
    Lines.Strings = (
      'one'
      'two')
    Options.Depth = 9
    Options.Shade = shDark
    Options.OnChange = PingClick
    Ratio = 1.25
    Shade = shLight
    Shades = [shLight, shDark]
    Small = 255
    When = 36526.5
    OnPing = PingClick
    OnPoint = PointAt
    Blob = {0001FF}
    OldWidth = 12
    object Gadget2: TGadget
      Color = $80000005
      Count = 3
    end
  end
end
)";

TEST_F(FilerTest, ReadsEveryKindFollowingTheLoadSequence) {
  static const uint8_t text[sizeof kForm] = {};
  (void)text;
  static const std::string form_text(kForm);
  static const ResourceFile files[] = {
      {"gadgets.form", {reinterpret_cast<const uint8_t*>(form_text.data()), form_text.size()}}};
  RegisterResources(files);

  TComponent owner(nullptr);
  struct TLoadingForm : TGadgetForm {
    explicit TLoadingForm(TComponent* o) : TGadgetForm(o) { resource = "GADGETS.FORM"; }
  };
  TGadgetForm* form = New<TLoadingForm>(&owner);
  EXPECT_EQ(g_log, (std::vector<std::string>{"read Form", "read Gadget1", "read Gadget2", "Loaded Form fields set",
                                             "Loaded Gadget1 buddy=Gadget2", "Loaded Gadget2 buddy=nil", "OnCreate"}));
  EXPECT_EQ(form->Name(), "Form");
  EXPECT_EQ(form->Tag(), 7);
  ASSERT_NE(form->Gadget1, nullptr);
  ASSERT_NE(form->Gadget2, nullptr);
  TGadget& g = *form->Gadget1;
  EXPECT_EQ(g.Owner(), form);
  EXPECT_EQ(form->Gadget2->Owner(), form);
  EXPECT_EQ(form->Gadget2->parent, &g);
  EXPECT_EQ(g.parent, form);
  EXPECT_FALSE(g.IsLoading());
  EXPECT_TRUE(g.Active());
  EXPECT_EQ(g.Buddy(), form->Gadget2);
  EXPECT_EQ(g.Caption(), "It's\r\ntwo lines");
  EXPECT_EQ(g.Color(), clRed);
  EXPECT_EQ(form->Gadget2->Color(), clWindow);
  EXPECT_EQ(g.Count(), -5);
  EXPECT_EQ(g.Letter(), 'z');
  EXPECT_EQ(g.Lines()->Text(), "one\r\ntwo\r\n");
  EXPECT_EQ(g.Options()->Depth(), 9);
  EXPECT_EQ(g.Options()->Shade(), shDark);
  EXPECT_DOUBLE_EQ(g.Ratio(), 1.25);
  EXPECT_EQ(g.Shade(), shLight);
  EXPECT_EQ(g.Shades(), (TShades{shLight, shDark}));
  EXPECT_EQ(g.Small(), 255);
  EXPECT_DOUBLE_EQ(g.When(), 36526.5);
  EXPECT_EQ(g.blob, (std::vector<uint8_t>{0x00, 0x01, 0xFF}));
  EXPECT_EQ(g.old_width, 12);
  ASSERT_TRUE(g.OnPing && g.OnPoint && g.Options()->OnChange);
  g.OnPing(&g);
  g.Options()->OnChange(&g);
  g.OnPoint(&g, 42);
  EXPECT_EQ(form->pings, 2);
  EXPECT_EQ(form->last_x, 42);
  // A reference clears itself when its component goes.
  form->Gadget2->Free();
  EXPECT_EQ(g.Buddy(), nullptr);
}

TEST_F(FilerTest, WritesOnlyWhatDiffersFromDefaultsAndRoundTrips) {
  TGadgetForm form(nullptr);
  ReadComponentFromText(&form, kForm, "gadgets.form");
  const std::string written = WriteComponentToText(&form);
  // OldWidth is gone (read and dropped); Gadget2's Count equals its default and is left out;
  // Active has no declared default and is always stored.
  EXPECT_EQ(written, R"(object Form: TGadgetForm
  Tag = 7
  object Gadget1: TGadget
    Active = True
    Buddy = Gadget2
    Caption = 'It''s'#13#10'two lines'
    Code = 'AB'
    Color = clRed
    Count = -5
    Letter = 'z'
    Lines.Strings = (
      'one'
      'two')
    Options.Depth = 9
    Options.Shade = shDark
    Options.OnChange = PingClick
    Ratio = 1.25
    Shade = shLight
    Shades = [shLight, shDark]
    Small = 255
    When = 36526.5
    OnPing = PingClick
    OnPoint = PointAt
    Blob = {
      0001FF}
    object Gadget2: TGadget
      Active = False
      Color = clWindow
    end
  end
end
)");
  TGadgetForm again(nullptr);
  ReadComponentFromText(&again, written, "written.form");
  EXPECT_EQ(WriteComponentToText(&again), written);
}

TEST_F(FilerTest, EventsSetInCodeAndEmptyListsAreNotStored) {
  TGadgetForm form(nullptr);
  form.SetName("Form");
  auto* g = new TGadget(&form);
  g->SetName("G");
  g->parent = &form;
  g->OnPing = [](TObject*) {};
  g->Lines()->Add("x");
  g->Lines()->Clear();
  EXPECT_EQ(WriteComponentToText(&form), "object Form: TGadgetForm\n  object G: TGadget\n    Active = False\n  end\nend\n");
}

TEST_F(FilerTest, FileReferencesReadEmbeddedFiles) {
  static const uint8_t bytes[] = {1, 2, 3, 0, 250};
  static const ResourceFile files[] = {{"art/blob.bin", bytes}};
  RegisterResources(files);
  TGadgetForm form(nullptr);
  ReadComponentFromText(&form,
                        "object F: TGadgetForm\n  object Gadget1: TGadget\n    Blob = file 'Art/Blob.bin'\n  end\nend\n",
                        "f.form");
  EXPECT_EQ(form.Gadget1->blob, (std::vector<uint8_t>(std::begin(bytes), std::end(bytes))));
}

TEST_F(FilerTest, DamagedFormsAreRefusedAndLeaveNothingBehind) {
  struct Case {
    const char* body;  // inside `object Gadget1: TGadget` on line 3
    const char* message;
  };
  const Case cases[] = {
      {"Colour = clRed", "f.form(3): Error reading Gadget1.Colour: Property Colour does not exist"},
      {"Shade = shBright", "f.form(3): Error reading Gadget1.Shade: 'shBright' is not a value of TShade"},
      {"Shades = [shLight, shNone]", "f.form(3): Error reading Gadget1.Shades: 'shNone' is not a value of TShade"},
      {"Small = 256", "f.form(3): Error reading Gadget1.Small: 256 is out of range (0..255)"},
      {"Options.Depth = 11", "f.form(3): Error reading Gadget1.Options.Depth: 11 is out of range (0..10)"},
      {"Count = 'x'", "f.form(3): Error reading Gadget1.Count: Expected an integer, found string"},
      {"Active = Yes", "f.form(3): Error reading Gadget1.Active: Expected True or False, found Yes"},
      {"Code = '123456789'", "f.form(3): Error reading Gadget1.Code: The text is longer than 8 characters"},
      {"Options = 5", "f.form(3): Error reading Gadget1.Options: Property Options holds an object"},
      {"Color = clNoSuch", "f.form(3): Error reading Gadget1.Color: 'clNoSuch' is not a colour name"},
      {"Buddy = Nobody", "f.form(3): Error reading Gadget1.Buddy: There is no component named Nobody"},
      {"OnPing = Missing", "f.form(3): Error reading Gadget1.OnPing: TGadgetForm has no handler method Missing"},
      {"OnPing = PointAt", "f.form(3): Error reading Gadget1.OnPing: Method PointAt does not fit event OnPing"},
      {"Lines.Strings = ('a' 1)", "f.form(3): Error reading Gadget1.Lines.Strings: Expected a string, found integer"},
      {"OldWidth = 'wide'", "f.form(3): Error reading Gadget1.OldWidth: Expected an integer, found string"},
      {"Blob = 5", "f.form(3): Error reading Gadget1.Blob: Expected binary data, found integer"},
      {"Blob = file 'none.bin'", "f.form(3): Error reading Gadget1.Blob: No embedded file named 'none.bin'"},
      {"Caption = 'open", "f.form(3): "},
      {"object Gadget2: TNothing\n    end", "f.form(3): Cannot create TNothing: Class TNothing not found"},
      {"object Gadget1: TGadget\n    end", "f.form(3): Cannot place Gadget1: A component named Gadget1 already exists"},
      {"object 9: TGadget\n    end", "f.form(3): "},
  };
  for (const Case& c : cases) {
    const std::string text = std::string("object F: TGadgetForm\n  object Gadget1: TGadget\n    ") + c.body +
                             "\n  end\n  object Gadget2: TGadget\n  end\nend\n";
    TGadgetForm form(nullptr);
    try {
      ReadComponentFromText(&form, text, "f.form");
      ADD_FAILURE() << "accepted: " << c.body;
    } catch (const EReadError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, strlen(c.message)), c.message) << c.body;
    }
    EXPECT_EQ(form.ComponentCount(), 0) << c.body;
    EXPECT_EQ(form.Gadget1, nullptr) << c.body;
    EXPECT_FALSE(form.IsLoading()) << c.body;
  }
}

class TFragileGadget : public TGadget {
  HOST_CLASS(TFragileGadget)
  explicit TFragileGadget(TComponent* owner) : TGadget(owner) { fail_in_loaded = true; }
};
HOST_DEFINE_CLASS(TFragileGadget, TGadget)

TEST_F(FilerTest, AFailingLoadedRollsTheFormBack) {
  RegisterClass(TFragileGadget::StaticClass());
  TGadgetForm form(nullptr);
  try {
    ReadComponentFromText(&form,
                          "object F: TGadgetForm\n  object Gadget1: TGadget\n  end\n"
                          "  object Gadget2: TFragileGadget\n  end\nend\n",
                          "f.form");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "f.form: Error starting Gadget2: the gadget cannot start");
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.Gadget1, nullptr);
  EXPECT_EQ(form.Gadget2, nullptr);
  try {
    ReadComponentFromText(&form, "object F: TGadget\nend\n", "wrong.form");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "wrong.form(1): The form is stored for TGadget, not for TGadgetForm");
  }
}

TEST_F(FilerTest, EveryTruncationReadsOrFailsCleanly) {
  const std::string text(kForm);
  for (size_t n = 0; n < text.size(); ++n) {
    TGadgetForm form(nullptr);
    try {
      ReadComponentFromText(&form, text.substr(0, n), "cut.form");
    } catch (const EReadError&) {
      EXPECT_EQ(form.ComponentCount(), 0) << n;
    }
  }
}

TEST_F(FilerTest, UnknownRootClassAndAbsentResource) {
  try {
    CreateComponentFromText("object X: TNotRegistered\nend\n", "x.form", nullptr);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "x.form(1): Class TNotRegistered not found");
  }
  TGadgetForm form(nullptr);
  EXPECT_THROW(ReadComponentResource(&form, "absent.form"), EReadError);
  TComponent* made = CreateComponentFromText("object G: TGadget\n  Count = 4\nend\n", "g.form", nullptr);
  EXPECT_EQ(static_cast<TGadget*>(made)->Count(), 4);
  made->Free();
}

TEST(PropInfo, KindsDefaultsAndStoredRules) {
  TClass c = TGadget::StaticClass();
  struct Expect {
    const char* name;
    PropKind kind;
  };
  for (auto [name, kind] : {Expect{"Active", PropKind::Boolean}, Expect{"Buddy", PropKind::Component},
                            Expect{"Caption", PropKind::String}, Expect{"Color", PropKind::Color},
                            Expect{"Count", PropKind::Integer}, Expect{"Letter", PropKind::Char},
                            Expect{"Lines", PropKind::Class}, Expect{"Shade", PropKind::Enum},
                            Expect{"Shades", PropKind::Set}, Expect{"Ratio", PropKind::Float},
                            Expect{"When", PropKind::DateTime}, Expect{"OnPing", PropKind::Event},
                            Expect{"Tag", PropKind::Integer}, Expect{"Name", PropKind::String}}) {
    const PropInfo* p = c->FindProperty(name);
    ASSERT_NE(p, nullptr) << name;
    EXPECT_EQ(p->kind, kind) << name;
  }
  EXPECT_EQ(c->FindProperty("count"), c->FindProperty("Count"));
  EXPECT_EQ(c->FindProperty("Nope"), nullptr);

  TGadget g(nullptr);
  const PropInfo* count = c->FindProperty("Count");
  const PropInfo* active = c->FindProperty("Active");
  const PropInfo* name = c->FindProperty("Name");
  EXPECT_FALSE(count->IsStored(&g));
  g.SetCount(4);
  EXPECT_TRUE(count->IsStored(&g));
  EXPECT_TRUE(active->IsStored(&g));  // no declared default: always stored
  g.SetName("G");
  EXPECT_FALSE(name->IsStored(&g));  // names are the object header, never a property line
  EXPECT_EQ(c->FindProperty("Small")->max_value, 255);
  EXPECT_EQ(c->FindProperty("Shades")->enum_type->Name(2), "shDark");
  // Ancestors' properties come first.
  auto props = c->Properties();
  ASSERT_GE(props.size(), 3u);
  EXPECT_EQ(props[0]->name, "Name");
  EXPECT_EQ(props[1]->name, "Tag");
}

// A descendant that publishes Count again with a new default.
class TBigGadget : public TGadget {
  HOST_CLASS(TBigGadget)
  explicit TBigGadget(TComponent* owner) : TGadget(owner) { SetCount(100); }
};
HOST_PUBLISHED(TBigGadget, TGadget) {
  HOST_PROP(Count, 100);
  c.Property("Tag", &TBigGadget::Tag, &TBigGadget::SetTag, 0).Stored([](const TObject* o) {
    return static_cast<const TBigGadget*>(o)->Count() > 100;
  });
}

TEST(PropInfo, RepublishedPropertyReplacesTheAncestorsInPlace) {
  TClass c = TBigGadget::StaticClass();
  auto props = c->Properties();
  auto count = std::count_if(props.begin(), props.end(), [](const PropInfo* p) { return p->name == "Count"; });
  EXPECT_EQ(count, 1);
  TBigGadget g(nullptr);
  EXPECT_FALSE(c->FindProperty("Count")->IsStored(&g));
  EXPECT_TRUE(TGadget::StaticClass()->FindProperty("Count")->IsStored(&g));
  EXPECT_EQ(props[1]->declared_in, c);  // Tag, at its ancestor's place
  EXPECT_FALSE(props[1]->IsStored(&g));
  g.SetCount(101);
  EXPECT_TRUE(props[1]->IsStored(&g));
}

}  // namespace
}  // namespace host
