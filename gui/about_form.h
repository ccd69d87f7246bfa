// The About window: the program and its version.
#pragma once

#include <QDialog>

namespace lemmix {

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutForm(QWidget* parent = nullptr);
};

}  // namespace lemmix
