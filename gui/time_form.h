// The time of a verified replay beside the time its protocol records, in
// seconds, and how much longer (or shorter) it took now.
#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;

namespace lemmix {

class TTimeForm : public QDialog {
  Q_OBJECT
 public:
  explicit TTimeForm(QWidget* parent = nullptr);

  // Shows the times, given in ticks of a millisecond; without a recorded
  // time the last two fields stay empty.
  void Fill(long long newTicks, std::optional<long long> recordedTicks);
  // A line above the times; empty hides it.
  void SetHeading(const QString& text);

  QLineEdit* NewTime() const { return new_; }
  QLineEdit* RecordedTime() const { return recorded_; }
  QLineEdit* Difference() const { return difference_; }

  // Ticks as seconds: 1234 is "1.234".
  static QString Seconds(long long ticks);

 private:
  QLabel* heading_;
  QLineEdit* new_;
  QLineEdit* recorded_;
  QLineEdit* difference_;
};

}  // namespace lemmix
