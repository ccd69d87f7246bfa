// Helpers for the offscreen GUI tests: answering the modal windows the program
// opens, screenshots, and running in another working directory.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

class QImage;
class QWidget;
namespace lemmix {
class TMyEdit;
}

namespace lemmix::testing {

// Calls `handler` with the next modal window that becomes active. The handler
// must close it.
void OnNextModal(std::function<void(QWidget*)> handler);
// The same for the next modal window of that object name only.
void OnNextModalNamed(const QString& objectName, std::function<void(QWidget*)> handler);

// Saves the widget (or an image) as build/screens/NAME.png.
void SaveScreen(QWidget* widget, const QString& name);
void SaveImage(const QImage& image, const QString& name);

// The texts of the window's labels and formula edits (edit lines joined by line feeds).
QString LabelTexts(QWidget* window);
QString EditText(const lemmix::TMyEdit& edit);

class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::filesystem::path& dir);
  ~ScopedWorkingDirectory();

 private:
  std::filesystem::path previous_;
};

}  // namespace lemmix::testing
