// The main window: the contents tree, the search page and the row of buttons.
#pragma once

#include <QMainWindow>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace lemmix {

class TContext;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 10;

  TMainForm(TContext& context, QWidget* parent = nullptr);

  // The start-up routine; the first loader that fails stops it, and the window
  // then closes when it is first shown.
  void Startup();

 signals:
  void HelpRequested(int topic);
  void AboutRequested();
  void SetupRequested();
  // The closing order has run: the catalogues are gone.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetCaptions();
  void Exit();

  TContext& context_;
  bool shown_ = false;
  bool closed_ = false;

  QTabWidget* Pages;
  QWidget* TreePage;
  QWidget* SearchPage;
  QTreeWidget* BookTree;
  QComboBox* SearchCombo;
  QLineEdit* SearchEdit;
  QPushButton* SearchButton;
  QTreeWidget* SearchTree;
  QLabel* Label1;
  QLabel* Label2;
  QPushButton* SaveButton;
  QPushButton* EndButton;
  QPushButton* AboutButton;
  QPushButton* SetupButton;
  QPushButton* HelpButton;
};

}  // namespace lemmix
