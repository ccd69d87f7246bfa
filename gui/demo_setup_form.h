// The settings of demonstrations: a full protocol written beside the
// replayed one, the proof field shown step by step, and verifying protocol
// after protocol. The window shows the stored settings and stores on "Ok" only.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;

namespace lemmix {

class IMessages;
struct TDemoSettings;

class TDemoSetupForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 142;

  TDemoSetupForm(TDemoSettings& settings, IMessages& messages, QWidget* parent = nullptr);
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

  QCheckBox* FullProtocolBox() const { return fullProtocol_; }
  QCheckBox* VisualBox() const { return visual_; }
  QCheckBox* ThroughBox() const { return through_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // A run through many protocols cannot wait at the proof field.
  void KeepExclusive();
  void Store();
  void OpenHelp();

  TDemoSettings& settings_;
  IMessages& messages_;
  QCheckBox* fullProtocol_;
  QCheckBox* visual_;
  QCheckBox* through_;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
