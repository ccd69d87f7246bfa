#include "gui/time_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

QLineEdit* Field(const char* name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setReadOnly(true);
  field->setAlignment(Qt::AlignRight);
  return field;
}

}  // namespace

TTimeForm::TTimeForm(QWidget* parent)
    : QDialog(parent),
      heading_(new QLabel(this)),
      new_(Field("NewTime", this)),
      recorded_(Field("RecordedTime", this)),
      difference_(Field("Difference", this)) {
  setObjectName("TimeForm");
  setWindowTitle("Elapsed time");
  heading_->setObjectName("Heading");
  heading_->setAlignment(Qt::AlignCenter);
  heading_->hide();
  auto* fields = new QFormLayout;
  fields->addRow(ToQString("Время проверки, с:"_cp), new_);
  fields->addRow(ToQString("Время в протоколе, с:"_cp), recorded_);
  fields->addRow(ToQString("Разность, с:"_cp), difference_);
  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("OkButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addLayout(fields);
  layout->addLayout(row);
  setMinimumWidth(320);
}

QString TTimeForm::Seconds(long long ticks) {
  const bool negative = ticks < 0;
  const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(ticks) : ticks;
  return QString("%1%2.%3")
      .arg(negative ? "-" : "")
      .arg(magnitude / 1000)
      .arg(magnitude % 1000, 3, 10, QChar('0'));
}

void TTimeForm::Fill(long long newTicks, std::optional<long long> recordedTicks) {
  new_->setText(Seconds(newTicks));
  recorded_->setText(recordedTicks ? Seconds(*recordedTicks) : QString());
  difference_->setText(recordedTicks ? Seconds(newTicks - *recordedTicks) : QString());
}

void TTimeForm::SetHeading(const QString& text) {
  heading_->setText(text);
  heading_->setVisible(!text.isEmpty());
}

}  // namespace lemmix
