#include "gui/qt_messages.h"

#include "gui/message_forms.h"
#include "gui/qtext.h"

namespace lemmix {

namespace {
QString Shown(const TMessage& message) { return ToQString(DisplayText(message.Rus)); }

// Messages are plain text, cut into lines at their "\n " markers.
constexpr int kPlainText = 1;
}  // namespace

void QtMessages::Info(const TMessage& message) { messageForm_.ShowMessage(message.Rus, message.Eng, kPlainText); }

void QtMessages::Error(const TMessage& message) { messageForm_.ShowError(message.Rus, message.Eng, kPlainText); }

bool QtMessages::Ask(const TMessage& question) { return questForm_.AskQuestion(Shown(question)); }

}  // namespace lemmix
