// The palette of symbols, letters and mathematical words: what a formula
// edit inserts when the user picks instead of typing a key combination.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "intrinsics/letter.h"

class QCheckBox;
class QLineEdit;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace lemmix {

class TStFunc;

// A symbol or letter button: its register row, key and letters.
class TScriptButton : public QPushButton {
  Q_OBJECT
 public:
  TScriptButton(int row, int key, TLetters letters, int help, QWidget* parent);
  int Row() const { return row_; }
  int Key() const { return key_; }
  int Help() const { return help_; }
  const TLetters& Letters() const { return letters_; }
  void SetChosen(bool chosen);

 private:
  int row_;
  int key_;
  TLetters letters_;
  int help_;
};

class TScriptForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kInserted = 1;
  static constexpr int kCancelled = 2;
  static constexpr int kMaxWordNodes = 150;
  static constexpr int kDefaultHelp = 51;
  static constexpr int kLetterHelp = 521;

  TScriptForm(const TStFunc& functions, QWidget* parent = nullptr);

  // Shows the palette modally; the chosen letters, or nothing when cancelled.
  std::optional<TLetters> Choose();
  void SetHelp(std::function<void(int topic)> openHelp) { openHelp_ = std::move(openHelp); }
  // The help topic of the current page and selection.
  int HelpTopic() const;

  const std::vector<TScriptButton*>& SymbolButtons() const { return symbolButtons_; }
  const std::vector<TScriptButton*>& LetterButtons() const { return letterButtons_; }
  QTabWidget* Pages() const { return pages_; }
  QTreeWidget* Words() const { return words_; }
  QLineEdit* Search() const { return search_; }
  QPushButton* InsertButton() const { return insert_; }
  const TLetters& Chosen() const { return chosen_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // A node of the hidden topic tree: a topic, a subtopic or a word.
  struct WordNode {
    QString Caption;
    int Parent = -1;
    TLetters Letters;
    int Help = kDefaultHelp;
  };
  QWidget* BuildSymbolsPage(const TStFunc& functions);
  QWidget* BuildWordsPage();
  void BuildTopics(const TStFunc& functions);
  void AddWordNode(QString caption, int parent, TLetters letters, int help);
  void FillWords(const QString& filter);
  void ButtonClicked(TScriptButton* button);
  void WordClicked(QTreeWidgetItem* item);
  void ClearSelection();
  void Finish(const TLetters& letters);

  std::vector<WordNode> nodes_;
  std::vector<TScriptButton*> symbolButtons_;
  std::vector<TScriptButton*> letterButtons_;
  TScriptButton* selectedButton_ = nullptr;
  int selectedNode_ = -1;
  TLetters chosen_;
  QTabWidget* pages_ = nullptr;
  QTreeWidget* words_ = nullptr;
  QLineEdit* search_ = nullptr;
  QPushButton* insert_ = nullptr;
  QCheckBox* cyrillic_ = nullptr;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
