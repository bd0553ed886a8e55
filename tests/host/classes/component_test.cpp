#include "host/classes/component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/classes/publish.h"

namespace host {
namespace {

std::vector<std::string> g_log;

// Records what it is told, and frees itself loudly.
class TProbe : public TComponent {
  HOST_CLASS(TProbe)
  explicit TProbe(TComponent* owner, std::string name = "") : TComponent(owner) {
    if (!name.empty()) SetName(name);
  }
  ~TProbe() override { g_log.push_back("free " + Name()); }
  TProbe* ref = nullptr;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == ref) ref = nullptr;
    if (c != this) g_log.push_back(Name() + (op == opInsert ? " +" : " -") + c->Name());
  }
};
HOST_DEFINE_CLASS(TProbe, TComponent)

class TAbstractThing : public TComponent {
  HOST_CLASS(TAbstractThing)
  using TComponent::TComponent;
  virtual void Run() = 0;
};
HOST_DEFINE_CLASS(TAbstractThing, TComponent)

TEST(Component, OwnerFreesLastCreatedFirstAndTellsTheRest) {
  g_log.clear();
  auto* form = new TProbe(nullptr, "Form");
  new TProbe(form, "A");
  new TProbe(form, "B");
  new TProbe(form, "C");
  ASSERT_EQ(form->ComponentCount(), 3);
  EXPECT_EQ(form->Components(1)->Name(), "B");
  EXPECT_EQ(form->Components(2)->ComponentIndex(), 2);
  g_log.clear();
  form->Free();
  // C goes first; its siblings still alive hear of it, then B, then A, then the form itself.
  const std::vector<std::string> expected = {"A -C", "B -C", "Form -C", "free C", "A -B", "Form -B", "free B",
                                             "Form -A", "free A", "free Form"};
  EXPECT_EQ(g_log, expected);
}

TEST(Component, InsertIsBroadcastToEveryOwnedComponent) {
  TProbe form(nullptr, "Form");
  new TProbe(&form, "A");
  g_log.clear();
  auto* b = new TProbe(&form);
  b->SetName("B");
  // The new component is told while still being constructed, so it has no name yet.
  EXPECT_EQ(g_log, (std::vector<std::string>{"A +", "Form +"}));
  EXPECT_EQ(b->Owner(), &form);
}

TEST(Component, NamesMustBeIdentifiersAndUniqueWithinTheOwner) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "Button1");
  auto* b = new TProbe(&form, "Button2");
  try {
    b->SetName("BUTTON1");
    FAIL() << "a duplicate name was accepted";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named BUTTON1 already exists");
  }
  EXPECT_EQ(b->Name(), "Button2");
  for (const char* bad : {"1abc", "a b", "a-b", "ä"}) {
    EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
  }
  EXPECT_EQ(b->Name(), "Button2");
  a->SetName("button1");  // a new spelling of its own name
  EXPECT_EQ(a->Name(), "button1");
  a->SetName("");
  b->SetName("");  // any number of unnamed components
  EXPECT_EQ(form.FindComponent(""), nullptr);
  b->SetName("_x9");
  EXPECT_EQ(form.FindComponent("_X9"), b);
  // Components of another owner may share a name.
  TProbe other(nullptr, "Other");
  EXPECT_NO_THROW(new TProbe(&other, "_x9"));
}

TEST(Component, ComponentsOutOfRangeNamesTheIndex) {
  TProbe form(nullptr, "Form");
  try {
    form.Components(0);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (0)");
  }
  EXPECT_EQ(form.ComponentIndex(), -1);
}

TEST(Component, FreeNotificationCrossesOwnersBothWays) {
  auto* form1 = new TProbe(nullptr, "Form1");
  auto* form2 = new TProbe(nullptr, "Form2");
  auto* label = new TProbe(form1, "Label");
  auto* edit = new TProbe(form2, "Edit");
  label->ref = edit;
  edit->FreeNotification(label);
  g_log.clear();
  edit->Free();
  EXPECT_EQ(label->ref, nullptr);
  EXPECT_NE(std::find(g_log.begin(), g_log.end(), "Label -Edit"), g_log.end());

  // The link goes when the listener goes first: freeing the other side later tells nobody.
  auto* edit2 = new TProbe(form2, "Edit2");
  auto* label2 = new TProbe(form1, "Label2");
  edit2->FreeNotification(label2);
  label2->Free();
  g_log.clear();
  edit2->Free();
  EXPECT_EQ(std::count_if(g_log.begin(), g_log.end(), [](const std::string& s) { return s.find("Label2") == 0; }), 0);

  // Removed on request.
  auto* edit3 = new TProbe(form2, "Edit3");
  edit3->FreeNotification(label);
  edit3->RemoveFreeNotification(label);
  g_log.clear();
  edit3->Free();
  EXPECT_EQ(std::find(g_log.begin(), g_log.end(), "Label -Edit3"), g_log.end());
  form1->Free();
  form2->Free();
}

TEST(Component, DeletingDirectlyStillLeavesTheOwner) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  auto* inner = new TProbe(a, "Inner");
  (void)inner;
  delete a;
  EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(Component, DesigningReachesOwnedAndLaterComponents) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  form.SetDesigning(true);
  EXPECT_TRUE(a->IsDesigning());
  auto* b = new TProbe(&form, "B");
  EXPECT_TRUE(b->ComponentState().Contains(csDesigning));
  form.SetDesigning(false);
  EXPECT_FALSE(b->IsDesigning());
}

TEST(Component, DestroyingIsMarkedBeforeOwnedComponentsGo) {
  struct TWatcher : TProbe {
    using TProbe::TProbe;
    void BeforeDestruction() override {
      g_log.push_back(std::string(IsDestroying() ? "self destroying" : "self alive") +
                      (Owner() && Owner()->IsDestroying() ? ", owner destroying" : ", owner alive"));
    }
  };
  auto* form = new TProbe(nullptr, "Form");
  new TWatcher(form, "W");
  g_log.clear();
  form->Free();
  auto seen = std::find_if(g_log.begin(), g_log.end(), [](const std::string& s) { return s.rfind("self", 0) == 0; });
  ASSERT_NE(seen, g_log.end());
  // The owned component is already unlinked from its owner when it is freed.
  EXPECT_EQ(*seen, "self destroying, owner alive");
  EXPECT_TRUE(std::find(g_log.begin(), g_log.end(), "free W") < std::find(g_log.begin(), g_log.end(), "free Form"));
}

TEST(ClassInfo, NamesAncestryAndVirtualConstruction) {
  TProbe probe(nullptr);
  EXPECT_STREQ(probe.ClassName(), "TProbe");
  EXPECT_EQ(probe.ClassParent(), TComponent::StaticClass());
  EXPECT_TRUE(probe.InheritsFrom(TPersistent::StaticClass()));
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(TProbe::StaticClass()));

  RegisterClasses({TProbe::StaticClass(), TAbstractThing::StaticClass()});
  EXPECT_EQ(GetClass("tprobe"), TProbe::StaticClass());
  EXPECT_NO_THROW(RegisterClass(TProbe::StaticClass()));  // once more is harmless
  TProbe owner(nullptr, "Owner");
  TComponent* made = FindClass("TProbe")->Create(&owner);
  EXPECT_STREQ(made->ClassName(), "TProbe");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_FALSE(TAbstractThing::StaticClass()->CanCreate());
  EXPECT_THROW(TAbstractThing::StaticClass()->Create(&owner), EInvalidOperation);
  try {
    FindClass("TNoSuchThing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TNoSuchThing not found");
  }
  UnRegisterClass(TAbstractThing::StaticClass());
  EXPECT_EQ(GetClass("TAbstractThing"), nullptr);
}

TEST(ClassInfo, AnotherClassCannotTakeARegisteredName) {
  struct TImpostor : TComponent {
    static TClass StaticClass() {
      static const TClassInfo info("TProbe", TComponent::StaticClass(), [](TClassInfo&) {});
      return &info;
    }
  };
  RegisterClass(TProbe::StaticClass());
  EXPECT_THROW(RegisterClass(TImpostor::StaticClass()), EInvalidOperation);
  EXPECT_EQ(GetClass("TProbe"), TProbe::StaticClass());
}

}  // namespace
}  // namespace host
