#include "gui/about_form.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "shell/cp1251.h"

namespace lemmix {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutForm");
  setWindowTitle(ToQString("О программе"_cp));
  auto* title = new QLabel(ToQString("Леммикс"_cp), this);
  QFont big = title->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  title->setFont(big);
  title->setAlignment(Qt::AlignCenter);
  auto* text =
      new QLabel(ToQString("Интерактивный учебник математики\nс доказателем\n\nВерсия "_cp) + LEMMIX_VERSION, this);
  text->setObjectName("Version");
  text->setAlignment(Qt::AlignCenter);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(text);
  layout->addWidget(ok, 0, Qt::AlignCenter);
  layout->setContentsMargins(32, 24, 32, 16);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace lemmix
