// Full repaints of a form full of standard controls on the headless desktop, against the
// memory-bandwidth ceiling of writing the same screen area once, in one run. The ratio says
// how many plain fills of the form's area one complete repaint costs.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/ratio_reporter.h"
#include "host/forms/forms.h"
#include "host/stdctrls/buttons.h"
#include "host/stdctrls/edits.h"
#include "host/stdctrls/lists.h"
#include "host/stdctrls/stdctrls.h"
#include "platform/user/desktop.h"

namespace {

using namespace host;

constexpr int kW = 640;
constexpr int kH = 480;

TForm* BuildForm() {
  static TForm* form = nullptr;
  if (form) return form;
  desktop::OpenHeadless(800, 600);
  InitApplication();
  form = New<TForm>(Application());
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, kW, kH);
  for (int i = 0; i < 6; ++i) {
    auto* b = new TButton(form);
    b->SetParent(form);
    b->SetBounds(8 + i * 84, 8, 75, 23);
    b->SetCaption("&Button");
    auto* c = new TCheckBox(form);
    c->SetParent(form);
    c->SetBounds(8 + i * 104, 40, 97, 17);
    c->SetCaption("Check box");
    c->SetChecked(i % 2 == 0);
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetBounds(8 + i * 104, 64, 97, 13);
    l->SetCaption("A &label");
  }
  for (int i = 0; i < 4; ++i) {
    auto* e = new TEdit(form);
    e->SetParent(form);
    e->SetBounds(8 + i * 150, 90, 140, 21);
    e->SetText("Some text to edit");
  }
  auto* list = new TListBox(form);
  list->SetParent(form);
  list->SetBounds(8, 120, 200, 200);
  for (int i = 0; i < 40; ++i) list->Items()->Add("List item");
  auto* memo = new TMemo(form);
  memo->SetParent(form);
  memo->SetBounds(220, 120, 300, 200);
  memo->SetText("A memo with a few lines of text.\r\nA second line.\r\nAnd a third one that runs on.");
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(8, 330, 620, 140);
  panel->SetCaption("A raised panel");
  form->Show();
  desktop::Pump();
  return form;
}

void ours_form_repaint(benchmark::State& st) {
  TForm* form = BuildForm();
  for (auto _ : st) {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void ceiling_form_area(benchmark::State& st) {
  std::vector<uint32_t> pixels(static_cast<size_t>(kW) * kH);
  uint8_t value = 0;
  for (auto _ : st) {
    std::memset(pixels.data(), ++value, pixels.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(ours_form_repaint)->Name("ours/repaint a form of 35 controls 640x480")->Unit(benchmark::kMicrosecond);
BENCHMARK(ceiling_form_area)->Name("ceiling/repaint a form of 35 controls 640x480")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return RunWithRatios(argc, argv); }
