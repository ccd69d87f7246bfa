#include "gui/progress_form.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <climits>

#include "gui/qtext.h"
#include "shell/cp1251.h"
#include "shell/text.h"

namespace lemmix {

namespace {

constexpr std::string_view kSuccessfulEnd = "Successful end of the proof.";
// "Successful end of the proof. Time=" is 34 characters; the time follows.
constexpr std::size_t kTimeColumn = 34;

bool Contains(const std::string& line, std::string_view what) { return line.find(what) != std::string::npos; }

}  // namespace

TVerificationVerdict VerificationVerdict(const std::vector<std::string>& lines, std::size_t readPos,
                                         std::optional<bool> judged) {
  TVerificationVerdict verdict;
  verdict.Count = lines.size();
  std::size_t at = std::min(readPos, lines.size());
  while (at < lines.size() && (Contains(lines[at], "Message: ") || Contains(lines[at], "Error: "))) ++at;
  verdict.Line = at + 1;
  verdict.Succeeded = judged.value_or(at == lines.size() || Contains(lines[at], kSuccessfulEnd));
  if (!verdict.Succeeded && at < lines.size()) verdict.Text = lines[at];
  return verdict;
}

TMessage TVerificationVerdict::Message() const {
  const std::string line = std::to_string(Line);
  const std::string count = std::to_string(Count);
  return {"Проверка доказательства завершена перед строкой "_cp + line + ":\\n " + Text +
              "\\n Всего в файле протокола "_cp + count + " строк"_cp,
          "The verification is aborted before line " + line + ":\\n " + Text +
              "\\n Total number of lines in protocol file: " + count};
}

std::optional<long long> RecordedTicks(const std::vector<std::string>& lines) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (line->rfind(kSuccessfulEnd, 0) != 0) continue;
    if (line->size() <= kTimeColumn) return std::nullopt;
    const std::string_view value = Trim(std::string_view(*line).substr(kTimeColumn));
    long long ticks = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ticks);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || ticks < 0)
      return std::nullopt;
    return ticks;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> WithRecordedTicks(std::vector<std::string> lines, long long ticks) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (line->rfind(kSuccessfulEnd, 0) != 0) continue;
    *line = std::string(kSuccessfulEnd) + " Time=" + std::to_string(ticks) + "   ";
    return lines;
  }
  return std::nullopt;
}

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent), title_(new QLabel(this)), bar_(new QProgressBar(this)), timer_(new QTimer(this)) {
  setObjectName("ProgressForm");
  setWindowTitle("Verification of the proof");
  title_->setObjectName("Title");
  title_->setWordWrap(true);
  title_->setAlignment(Qt::AlignCenter);
  bar_->setObjectName("Bar");
  bar_->setTextVisible(true);
  bar_->setFormat(ToQString("Прочитано строк протокола: %v из %m"_cp));
  timer_->setSingleShot(true);
  timer_->setInterval(kTickMs);
  connect(timer_, &QTimer::timeout, this, &TProgressForm::Tick);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(bar_);
  setMinimumWidth(420);
}

TProgressForm::TEnd TProgressForm::Run(const QString& title, std::size_t lineCount, TReplaySteps steps) {
  steps_ = std::move(steps);
  closed_ = false;
  title_->setText(title);
  bar_->setRange(0, static_cast<int>(std::clamp<std::size_t>(lineCount, 1, INT_MAX)));
  bar_->setValue(0);
  timer_->start();
  exec();
  timer_->stop();
  steps_ = {};
  return closed_ ? TEnd::Closed : TEnd::Stopped;
}

void TProgressForm::Tick() {
  const auto at = [this] { return static_cast<int>(std::min<std::size_t>(steps_.Position(), bar_->maximum())); };
  bar_->setValue(at());
  stepping_ = true;
  const bool goesOn = steps_.Step();
  stepping_ = false;
  bar_->setValue(at());
  // Closed while the step ran (a message of the step was open meanwhile).
  if (closed_) {
    Stop(TEnd::Closed);
  } else if (!goesOn) {
    Stop(TEnd::Stopped);
  } else {
    timer_->start();
  }
}

void TProgressForm::Stop(TEnd end) {
  timer_->stop();
  if (end == TEnd::Closed) closed_ = true;
  // A step still running ends the run when it returns.
  if (stepping_) return;
  done(end == TEnd::Closed ? QDialog::Rejected : QDialog::Accepted);
}

void TProgressForm::closeEvent(QCloseEvent* event) {
  Stop(TEnd::Closed);
  event->accept();
}

void TProgressForm::reject() { Stop(TEnd::Closed); }

}  // namespace lemmix
