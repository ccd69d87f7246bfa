// The information window: what the prover did by itself during the current
// proof, as a tree that follows the levels of the proof. The line that opened
// a subproof holds the reports made inside it; the window shows one line per
// report, indented by its depth in the tree.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
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
  static constexpr int kIndent = 3;  // blanks per level of depth

  explicit TInfoForm(QWidget* parent = nullptr);
  ~TInfoForm() override;
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }
  // Called while reports come in, so that the windows keep painting.
  void SetProgress(std::function<void()> progress) { progress_ = std::move(progress); }

  // A report below the current node. A text that ends where its formula
  // should stand (with ":" or a blank) gets the formula's text after it.
  void Add(const std::string& text, const TExpr* formula) override;
  void Report(const std::string& text);
  // The last report of the current node becomes current; without one: an
  // error, and nothing changes.
  void GoDown() override;
  // The parent of the current node becomes current; without `keep` the node
  // left goes, with everything below it. At the root: an error, and nothing
  // changes.
  void GoUp(bool keep) override;
  // An empty tree: only the root, which is current.
  void Reset();
  // No report since the last reset, or the last one went with the level left.
  bool Empty() const { return empty_; }
  // How many levels below the root the current node is.
  int Depth() const;
  // Appends a line per report, depth first: "\Skip " three times per level
  // below the root's children, then the text.
  void Dump(std::vector<std::string>& lines) const;
  // The reports as the window shows them, each a line of letters.
  std::vector<TLetters> Lines() const;
  // Fills the edit and shows the window modally.
  void ShowReports();
  TMyEdit& Edit() { return *edit_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct TNode {
    std::string Text;
    TNode* Parent = nullptr;
    std::vector<std::unique_ptr<TNode>> Children;
  };
  // Every node below the root, depth first, with its depth (0: a child of the root).
  void Walk(const std::function<void(const TNode&, int)>& visit) const;
  void Fill();

  TNode root_;
  TNode* current_ = &root_;
  bool empty_ = true;
  std::function<void(int)> openHelp_;
  std::function<void()> progress_;
  TMyEdit* edit_;
  std::vector<TMyEdit*> edits_;
  QPushButton* ok_;
};

// Plain text (cp1251) as letters of the plain font in the colour given.
TLetters PlainTextLetters(std::string_view text, std::uint32_t colour);

}  // namespace lemmix
