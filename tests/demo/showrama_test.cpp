// Showrama as a user meets it: start-up, the tab row, the help window and the demo buttons'
// messages, on the headless desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "demo/comps.h"
#include "demo/help.h"
#include "demo/mainform.h"
#include "demo/showrama.h"
#include "demo/splash.h"
#include "demo/welcome.h"
#include "host/classes/strings.h"
#include "host/extctrls/pages.h"
#include "host/menus/menus.h"
#include "host/stdctrls/buttons.h"
#include "host/stdctrls/lists.h"
#include "host/stdctrls/stdctrls.h"
#include "library/controls/labels.h"
#include "library/foundation/application.h"
#include "library/foundation/formdisplay.h"
#include "library/services/strlist.h"
#include "support/app.h"

namespace showrama {
namespace {

using testing_app::AppTest;

host::TCustomForm* ShowingForm(const std::string& name) {
  for (int i = 0; i < host::Screen()->FormCount(); ++i) {
    host::TCustomForm* f = host::Screen()->Forms(i);
    if (f->Name() == name && f->Showing()) return f;
  }
  return nullptr;
}

bool FormExists(const std::string& name) {
  for (int i = 0; i < host::Screen()->FormCount(); ++i) {
    if (host::Screen()->Forms(i)->Name() == name) return true;
  }
  return false;
}

class ShowramaTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    zyr::InitLibrary();
    RegisterShowrama();
  }
  void TearDown() override {
    host::Application()->OnIdle = nullptr;
    zyr::DoneLibrary();
    AppTest::TearDown();
  }
  // Starts without the pause and shows the main window as the message loop would.
  Tfrmshowrama* Start() {
    StartUp(0);
    frmshowrama->Show();
    desktop::Pump();
    return frmshowrama;
  }
  // Once a message box is up, remembers its text and presses the button so captioned.
  void AnswerWhenShown(const std::string& button) {
    seen_text.clear();
    seen_caption.clear();
    host::Application()->OnIdle = [this, button](host::TObject*, bool& done) {
      host::TCustomForm* box = ShowingForm("MessageDialog");
      if (!box || box->ModalResult() != host::mrNone) return;
      seen_caption = box->Caption();
      if (auto* text = box->FindComponent("Message")) seen_text = static_cast<host::TControl*>(text)->Caption();
      for (int i = 0; i < box->ControlCount(); ++i) {
        auto* b = dynamic_cast<host::TButton*>(box->Controls(i));
        if (b && b->Caption() == button) b->Click();
      }
      done = false;
    };
  }
  std::string seen_text;
  std::string seen_caption;
};

TEST_F(ShowramaTest, StartUpShowsAndRepaintsTheSplashThenFreesItBeforeTheLoop) {
  bool shown = false;
  COLORREF title_pixel = 0;
  StartUpWatch watch;
  watch.splash_shown = [&](Tfrmsplash* splash) {
    shown = splash->Showing();
    // Painted already: the frame's light top-left corner is on the screen.
    const POINT corner = splash->ClientToScreen({0, 0});
    title_pixel = gdi::ToColorRef(gdi::ScreenSurface().Row(corner.y)[corner.x] & gdi::kPixelMask);
    EXPECT_NE(frmshowrama, nullptr);
    EXPECT_NE(welcome, nullptr);
  };
  StartUp(20, watch);
  EXPECT_TRUE(shown);
  EXPECT_EQ(title_pixel, RGB(255, 255, 255));
  EXPECT_FALSE(FormExists("frmsplash"));
  EXPECT_EQ(host::Application()->Title(), "Showrama");
  EXPECT_EQ(host::Application()->MainForm(), frmshowrama);
  EXPECT_EQ(welcome->Owner(), host::Application());
}

TEST_F(ShowramaTest, SplashIsFreedWhenAStepRaises) {
  StartUpWatch watch;
  watch.delay_done = [](Tfrmsplash*) { throw std::runtime_error("disk on fire"); };
  EXPECT_THROW(StartUp(0, watch), std::runtime_error);
  EXPECT_FALSE(FormExists("frmsplash"));
}

TEST_F(ShowramaTest, FirstPaintAdoptsTheWelcomePageAndGroupZero) {
  Tfrmshowrama* main = Start();
  EXPECT_EQ(main->fd->Form(), welcome);
  EXPECT_EQ(main->dblbl2->Caption(), "Easy for beginners, powerful for advanced programmers.");
  EXPECT_EQ(main->strfeatures->Items()->Count(), 29);
}

TEST_F(ShowramaTest, ExitCancelKeepsTabAndPageAndExitOkTerminates) {
  Tfrmshowrama* main = Start();
  main->TabSet->SetTabIndex(2);
  host::TForm* page = main->fd->Form();
  AnswerWhenShown("Cancel");
  main->TabSet->SetTabIndex(8);
  EXPECT_EQ(seen_text, "Do you really want to exit?");
  EXPECT_EQ(seen_caption, "ZYR Tools");
  EXPECT_EQ(main->TabSet->TabIndex(), 2);
  EXPECT_EQ(main->fd->Form(), page);
  EXPECT_FALSE(host::Application()->Terminated());

  AnswerWhenShown("OK");
  main->TabSet->SetTabIndex(8);
  EXPECT_EQ(main->TabSet->TabIndex(), 8);  // the tab follows; the program is ending anyway
  // The quit message is posted: the loop that takes it ends, as Run would.
  host::Application()->ProcessMessages();
  EXPECT_TRUE(host::Application()->Terminated());
}

TEST_F(ShowramaTest, SystemAndVisualShareThePageAndTurnTheNotebook) {
  Tfrmshowrama* main = Start();
  main->TabSet->SetTabIndex(1);
  Tcomps* page = comps;
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(main->fd->Form(), page);
  EXPECT_EQ(page->Owner(), main->fd);
  EXPECT_EQ(page->note2->PageIndex(), 0);
  EXPECT_EQ(page->description->Caption(), page->strsystem->Items()->Strings(1));
  EXPECT_EQ(main->dblbl1->Caption(), "Use Drag&Drop with files of the filemanager with TZYRFMDrop !");
  main->TabSet->SetTabIndex(2);
  EXPECT_EQ(comps, page);
  EXPECT_EQ(main->fd->Form(), page);
  EXPECT_EQ(page->note2->PageIndex(), 1);
  EXPECT_EQ(page->description->Caption(), page->strvisual->Items()->Strings(1));
  EXPECT_EQ(main->dblbl4->Caption(), "Try out the TZYRShapeHint !");
  // Leaving and coming back finds the same page, hidden in between.
  main->TabSet->SetTabIndex(0);
  EXPECT_EQ(main->fd->Form(), welcome);
  EXPECT_FALSE(page->Visible());
  main->TabSet->SetTabIndex(5);
  EXPECT_EQ(main->fd->Form(), page);
  EXPECT_EQ(page->note2->PageIndex(), 4);
}

TEST_F(ShowramaTest, OrderingAndContactShowFeatureGroupZero) {
  Tfrmshowrama* main = Start();
  const std::string group0[] = {main->dblbl1->Caption(), main->dblbl2->Caption(), main->dblbl3->Caption(),
                                main->dblbl4->Caption()};
  for (int tab : {6, 3, 7}) {
    main->TabSet->SetTabIndex(3);
    main->TabSet->SetTabIndex(tab);
    ASSERT_NE(main->fd->Form(), nullptr);
    EXPECT_EQ(main->fd->Form()->Name(), tab == 6 ? "order" : tab == 7 ? "contact" : "comps");
    if (tab == 3) continue;
    EXPECT_EQ(main->dblbl1->Caption(), group0[0]) << tab;
    EXPECT_EQ(main->dblbl4->Caption(), group0[3]) << tab;
  }
}

TEST_F(ShowramaTest, ComponentListsGiveOneRowPerCompleteTriple) {
  Tfrmshowrama* main = Start();
  main->TabSet->SetTabIndex(3);
  const auto data = ComponentRows(comps->strdata->Items());
  ASSERT_EQ(data.size(), 10u);
  EXPECT_EQ(comps->strdata->Items()->Count(), 31);
  EXPECT_EQ(data.front(), "TZYRDBLabel;Standard");
  EXPECT_EQ(data.back(), "TZYRDBLabel;Standard");
  EXPECT_EQ(ComponentRows(comps->strsystem->Items()).size(), 21u);
  EXPECT_EQ(ComponentRows(comps->strvisual->Items())[22], "TZYRRuler ;Standard");
  EXPECT_EQ(ComponentRows(comps->strdialog->Items()).size(), 3u);
  EXPECT_EQ(ComponentRows(comps->strgraph->Items()).size(), 9u);

  struct Case {
    std::vector<std::string> lines;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {{}, {}},
      {{"A", "desc"}, {}},
      {{"A", "desc", "Standard"}, {"A;Standard"}},
      {{"A", "desc", "Standard", "B"}, {"A;Standard"}},
      {{"A", "d", "Standard", "B", "e", "Advanced", ""}, {"A;Standard", "B;Advanced"}},
  };
  for (const Case& c : cases) {
    host::TStringList list;
    for (const auto& l : c.lines) list.Add(l);
    EXPECT_EQ(ComponentRows(&list), c.rows) << c.lines.size();
  }
}

TEST_F(ShowramaTest, ListClickDescribesTheRowOfTheCurrentPage) {
  Tfrmshowrama* main = Start();
  main->TabSet->SetTabIndex(4);
  auto* box = new host::TListBox(comps);
  box->SetParent(comps);
  for (int i = 0; i < 3; ++i) box->Items()->Add("row");
  box->SetItemIndex(2);
  comps->lbClick(box);
  EXPECT_EQ(comps->description->Caption(), "Shows a tip of the day from a list.");
  comps->DescribeRow(3);  // past the list: nothing to describe
  EXPECT_EQ(comps->description->Caption(), "");
}

TEST_F(ShowramaTest, HelpOpensFromTheButtonAndThePopupItemAndClosesWithOk) {
  Tfrmshowrama* main = Start();
  int opened = 0;
  host::Application()->OnIdle = [&](host::TObject*, bool& done) {
    if (!frmhelp || !frmhelp->Showing() || frmhelp->ModalResult() != host::mrNone) return;
    ++opened;
    EXPECT_EQ(frmhelp->Caption(), "Help...");
    EXPECT_EQ(frmhelp->ClientWidth(), 317);
    frmhelp->Button1->Click();
    done = false;
  };
  ClickOn(main->help, 14, 12);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(frmhelp, nullptr);  // freed after closing
  main->Info1->Click();
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(frmhelp, nullptr);
}

TEST_F(ShowramaTest, InformationButtonsShowTheirTexts) {
  Tfrmshowrama* main = Start();
  main->TabSet->SetTabIndex(1);
  const std::string clip =
      "You find this demo in the \\demos\\version1 directory\rif available (not included in all "
      "trialversions/Standard version)";
  const std::pair<host::TButton*, std::string> cases[] = {
      {comps->stx,
       "The TextEdit-demo is not available from this place.\rPlease check \\Demos\\Advanced\\TextEdit "
       "folder\rand compile the project."},
      {comps->sdatabase,
       "The DBCtrls-demo is not available from this place.\rPlease check \\Demos\\Standard\\DBCtrls "
       "folder\rand compile the project."},
      {comps->sclip, clip},
      {comps->sAniClip, clip},
      {comps->sNewControls, clip},
  };
  for (const auto& [button, text] : cases) {
    AnswerWhenShown("OK");
    EXPECT_TRUE(button->Enabled()) << button->Name();
    button->Click();
    EXPECT_EQ(seen_text, text) << button->Name();
  }
}

TEST_F(ShowramaTest, GalleryOpensAndPaintsEveryWindow) {
  const auto dir = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "demo_gallery_test";
  std::filesystem::remove_all(dir);
  const auto files = RenderGallery(dir.string());
  EXPECT_EQ(files.size(), 11u);
  for (const auto& f : files) EXPECT_GT(std::filesystem::file_size(f), 1000u) << f;
  EXPECT_FALSE(host::Application()->Terminated());
  EXPECT_EQ(frmshowrama->TabSet->TabIndex(), 7);
}

}  // namespace
}  // namespace showrama
