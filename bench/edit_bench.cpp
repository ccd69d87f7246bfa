// The formula edit on screen: filling it with text, laying it out and painting
// it, and one keystroke in a long edit up to the repainted picture.
// Runs on the offscreen platform: ./build/bench/lemmix-gui-bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include "bench_catalogues.h"
#include "gui/my_edit.h"

namespace {

using namespace lemmix;

// n lines of formulas, as one text cut by line markers.
std::string Lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i)
    text += (i ? "\\n " : "") + std::string("\\forall x \\in \\N : x ^ 2 + ") + std::to_string(i) + " > y";
  return text;
}

struct Screen {
  QWidget form;
  TMyEdit edit{&form};
  QImage picture{600, 400, QImage::Format_RGB32};
  Screen() {
    form.resize(600, 400);
    edit.Outer = QRect(0, 0, 600, 400);
    edit.Attach(&form);
  }
  void Paint() {
    QPainter painter(&picture);
    edit.Box()->render(&painter);
  }
};

void AddTextLayoutPaint(benchmark::State& state) {
  Data();
  Screen screen;
  const std::string text = Lines(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    screen.edit.Clear();
    if (!screen.edit.AddText(text, 0)) std::abort();
    screen.Paint();
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(AddTextLayoutPaint)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A letter typed and taken back again, each repainted: two keystrokes an iteration.
void KeystrokeIn100Lines(benchmark::State& state) {
  Data();
  Screen screen;
  screen.edit.AddText(Lines(100), 0);
  screen.form.show();
  QApplication::setActiveWindow(&screen.form);
  screen.edit.Box()->setFocus();
  QApplication::processEvents();
  if (!screen.edit.CaretRunning()) {
    state.SkipWithError("the edit did not take the focus");
    return;
  }
  for (auto _ : state) {
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(screen.edit.Box(), &letter);
    screen.Paint();
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(screen.edit.Box(), &back);
    screen.Paint();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(KeystrokeIn100Lines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QFontDatabase::addApplicationFont(QString(LEMMIX_DATA_DIR) + "/Symbolon.ttf");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
