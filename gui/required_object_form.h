// The question of a definition that gives a required object its value: the
// object becomes a given one ("Добавить объект") or its value replaces it in
// the proving conditions ("Подставить значение").
#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;

namespace lemmix {

class TRequiredObjectForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRequiredObjectForm(QWidget* parent = nullptr);

  // After exec(): true to add the object, false to substitute its value,
  // nothing when the window was cancelled.
  std::optional<bool> Answer() const;

  QLabel* Question() const { return question_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* SubstituteButton() const { return substitute_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  static constexpr int kAdd = 1;
  static constexpr int kSubstitute = 2;

  QLabel* question_;
  QPushButton* add_;
  QPushButton* substitute_;
  QPushButton* cancel_;
};

}  // namespace lemmix
