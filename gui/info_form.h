// The information window: what the prover did by itself during the current
// proof, one line per report, indented by the level of the proof field that
// was current when the report came.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "expr/info_sink.h"
#include "intrinsics/letter.h"

class QPushButton;

namespace lemmix {

class TMyEdit;

class TInfoForm : public QDialog, public IInfoSink {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 17;

  // `level` answers the level of the current proof field (none: level 0).
  explicit TInfoForm(QWidget* parent = nullptr);
  ~TInfoForm() override;
  void SetLevel(std::function<int()> level) { level_ = std::move(level); }
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }
  // Called while reports come in, so that the windows keep painting.
  void SetProgress(std::function<void()> progress) { progress_ = std::move(progress); }

  void Add(const std::string& text, const TExpr* formula) override;
  void Reset();
  bool Empty() const { return lines_.empty(); }
  // The reports as shown, each a line of letters.
  const std::vector<TLetters>& Lines() const { return lines_; }
  // Fills the edit and shows the window modally.
  void ShowReports();
  TMyEdit& Edit() { return *edit_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Fill();

  std::vector<TLetters> lines_;
  std::function<int()> level_;
  std::function<void(int)> openHelp_;
  std::function<void()> progress_;
  TMyEdit* edit_;
  std::vector<TMyEdit*> edits_;
  QPushButton* ok_;
};

// Plain text (cp1251) as letters of the plain font in the colour given.
TLetters PlainTextLetters(std::string_view text, std::uint32_t colour);

}  // namespace lemmix
