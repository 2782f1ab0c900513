// The text viewer on a 50 MB text: opening it and showing the first page,
// and moving by a line and by a page near the start and a million lines down.
// Both moves must cost the same wherever the cursor is.

#include <benchmark/benchmark.h>

#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "console/viewer.h"
#include "console/viewer_draw.h"
#include "console/viewer_model.h"

namespace {

constexpr std::size_t kTextBytes = 50u * 1024u * 1024u;
constexpr int kRows = 22;
constexpr int kColumns = 80;

// XML-like lines of about 46 bytes: well over a million of them.
const std::string& big_text() {
  static const std::string text = [] {
    std::string out;
    out.reserve(kTextBytes + 64);
    for (std::size_t n = 1; out.size() < kTextBytes; ++n) {
      out += "<Concepto Cantidad=\"1\" Importe=\"";
      out += std::to_string(n);
      out += ".00\"/>\r\n";
    }
    return out;
  }();
  return text;
}

void BM_OpenAndShowFirstPage(benchmark::State& state) {
  const std::string& text = big_text();
  for (auto _ : state) {
    console::HeadlessBackend backend;
    console::Console con(backend);
    backend.push_key(console::key::escape);
    std::string result = console::view_text(con, text, 3, 0, 24, 79);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_OpenAndShowFirstPage)->Unit(benchmark::kMillisecond);

// Moves and redraws the window as the viewer does after each key.
template <typename Move, typename Back>
void move_at_line(benchmark::State& state, Move move, Back back) {
  static console::ViewerModel model(big_text(), kRows, kColumns);
  const console::ViewerWindow window{3, 0, 3 + kRows - 1, kColumns - 1};
  console::Screen screen(25, 80);
  model.move_to_line(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    move(model);
    console::draw_viewer(screen, model, window, {});
    back(model);
    console::draw_viewer(screen, model, window, {});
  }
  state.counters["lines"] = static_cast<double>(model.line_count());
}

void BM_LineDownAndUp(benchmark::State& state) {
  move_at_line(
      state, [](console::ViewerModel& m) { m.down(); }, [](console::ViewerModel& m) { m.up(); });
}
BENCHMARK(BM_LineDownAndUp)->Arg(10)->Arg(1000000);

void BM_PageDownAndUp(benchmark::State& state) {
  move_at_line(
      state, [](console::ViewerModel& m) { m.page_down(); },
      [](console::ViewerModel& m) { m.page_up(); });
}
BENCHMARK(BM_PageDownAndUp)->Arg(10)->Arg(1000000);

}  // namespace

BENCHMARK_MAIN();
