#include "gui/qt_messages.h"

#include "gui/message_forms.h"
#include "gui/qtext.h"

namespace lemmix {

namespace {
QString Shown(const TMessage& message) { return ToQString(DisplayText(message.Rus)); }
}  // namespace

void QtMessages::Info(const TMessage& message) { messageForm_.ShowMessage(TMessageForm::Kind::Info, Shown(message)); }

void QtMessages::Error(const TMessage& message) { messageForm_.ShowMessage(TMessageForm::Kind::Error, Shown(message)); }

bool QtMessages::Ask(const TMessage& question) { return questForm_.AskQuestion(Shown(question)); }

}  // namespace lemmix
