#include "gui_test_support.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "gui/my_edit.h"

namespace lemmix::testing {

void OnNextModal(std::function<void(QWidget*)> handler) { OnNextModalNamed(QString(), std::move(handler)); }

void OnNextModalNamed(const QString& objectName, std::function<void(QWidget*)> handler) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, objectName, handler = std::move(handler)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (!objectName.isEmpty() && modal->objectName() != objectName) return;
    timer->stop();
    timer->deleteLater();
    handler(modal);
  });
  timer->start();
}

void SaveScreen(QWidget* widget, const QString& name) {
  widget->grab().save(QString(LEMMIX_SCREENS_DIR) + "/" + name + ".png");
}

void SaveImage(const QImage& image, const QString& name) {
  image.save(QString(LEMMIX_SCREENS_DIR) + "/" + name + ".png");
}

QString EditText(const lemmix::TMyEdit& edit) {
  QStringList lines;
  for (lemmix::TLetters line : edit.Text().Lines()) {
    line.pop_back();  // the sentinel
    lines << QString::fromStdString(lemmix::LettersToUtf8(line));
  }
  return lines.join('\n');
}

QString LabelTexts(QWidget* window) {
  QStringList texts;
  for (const QLabel* label : window->findChildren<QLabel*>()) texts << label->text();
  for (const lemmix::TMyEdit* edit : window->findChildren<TMyEdit*>()) texts << EditText(*edit);
  return texts.join('\n');
}

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::filesystem::path& dir)
    : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(dir);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() { std::filesystem::current_path(previous_); }

}  // namespace lemmix::testing
