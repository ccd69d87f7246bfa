// The verification of a protocol: its replay runs step by step on a timer
// under the statement's title, the bar following the protocol's lines read.
// The window knows the replay only by its steps, so any replay can drive it.
#pragma once

#include <QDialog>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/message.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace lemmix {

// One replay as the window drives it.
struct TReplaySteps {
  // Replays one record; false when the run stops there (the proof finished
  // or a record could not be replayed).
  std::function<bool()> Step;
  // The protocol lines read so far.
  std::function<std::size_t()> Position;
  // The replay's own judgement of a run that stopped, when it has one.
  std::function<bool()> Succeeded;
};

// What a stopped replay proved: the lines after the read position that only
// report a message or an error are passed over; without the replay's own
// judgement the run succeeded when the protocol was read to its end or to its
// line of the successful end. A failure names the line the replay stopped before.
struct TVerificationVerdict {
  bool Succeeded = false;
  std::size_t Line = 0;  // 1-based, the line the replay stopped before
  std::string Text;      // that line
  std::size_t Count = 0;  // the protocol's lines
  // The failure as it is reported.
  TMessage Message() const;
};
TVerificationVerdict VerificationVerdict(const std::vector<std::string>& lines, std::size_t readPos,
                                         std::optional<bool> judged = std::nullopt);

// The time a protocol's line of the successful end records, in ticks of a
// millisecond: the number from its 35th character on; nothing without one.
std::optional<long long> RecordedTicks(const std::vector<std::string>& lines);

// The protocol with the time of a successful replay stored in its line of the
// successful end ("Successful end of the proof. Time=TICKS   "); nothing
// when it has no such line.
std::optional<std::vector<std::string>> WithRecordedTicks(std::vector<std::string> lines, long long ticks);

class TProgressForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kTickMs = 100;

  enum class TEnd { Stopped, Closed };

  explicit TProgressForm(QWidget* parent = nullptr);

  // Runs the steps, one a tick, until one returns false (Stopped) or the
  // window is closed (Closed). `lineCount` is the bar's maximum.
  TEnd Run(const QString& title, std::size_t lineCount, TReplaySteps steps);
  // Whether the last run was ended by closing the window.
  bool Closed() const { return closed_; }

  QLabel* Title() const { return title_; }
  QProgressBar* Bar() const { return bar_; }
  QTimer* Timer() const { return timer_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Tick();
  void Stop(TEnd end);

  TReplaySteps steps_;
  bool closed_ = false;
  bool stepping_ = false;
  QLabel* title_;
  QProgressBar* bar_;
  QTimer* timer_;
};

}  // namespace lemmix
