// The formula edit driven by real key and mouse events: typing with the
// formula keyboard, selection and the clipboard, check buttons, the symbol
// palette, and the message box built on the edit.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "gui/lemmix.h"
#include "gui/message_forms.h"
#include "gui/my_edit.h"
#include "gui/script_form.h"
#include "gui/qtext.h"
#include "gui_test_support.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "notation/items.h"
#include "shell/cp1251.h"
#include "support/temp_dir.h"

using lemmix::operator""_cp;
using lemmix::TLemmix;
using lemmix::TMyEdit;
using lemmix::testing::EditText;
using lemmix::testing::LabelTexts;
using lemmix::testing::OnNextModal;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;

namespace {

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

// A form with two edits, counting the line-marked events it receives.
class EditForm : public QWidget {
 public:
  EditForm() {
    resize(520, 300);
    top.Outer = QRect(0, 0, 520, 180);
    top.CheckButtons = true;
    bottom.Outer = QRect(0, 185, 520, 80);
    edits = {&top, &bottom};
    top.Attach(this, &edits);
    bottom.Attach(this, &edits);
  }
  int marked = 0;
  TMyEdit top{this};
  TMyEdit bottom{this};
  std::vector<TMyEdit*> edits;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == lemmix::kLineMarkedEvent) ++marked;
    return QWidget::event(e);
  }
};

// The centre of a letter of the edit, in its paint box.
QPoint LetterCentre(const TMyEdit& edit, int line, int column) {
  const lemmix::TLetter& letter = edit.Text().Lines()[line][column];
  return QPoint(letter.Left + letter.Width / 2, letter.Top + letter.Height / 2);
}

}  // namespace

class EditGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    cwd_ = std::make_unique<ScopedWorkingDirectory>(LEMMIX_DATA_DIR);
    lemmix_ = std::make_unique<TLemmix>();
    QVERIFY(lemmix_->Context().StartupOk);
    lemmix::SetCyrillicMode(false);
  }
  void cleanup() {
    lemmix_.reset();
    cwd_.reset();
  }

  void typingUsesTheFormulaKeyboard() {
    EditForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.top.Box()->setFocus();
    QTRY_VERIFY(form.top.CaretRunning());
    QTest::keyClicks(form.top.Box(), "x");
    QTest::keyClick(form.top.Box(), Qt::Key_Plus, Qt::ShiftModifier);      // Shift+"=" types its symbol
    QTest::keyClick(form.top.Box(), Qt::Key_A, Qt::ControlModifier);       // alpha
    QTest::keyClick(form.top.Box(), Qt::Key_Asterisk, Qt::KeypadModifier); // the pad: Shift+"8"
    const lemmix::TStFunc& functions = *lemmix_->Context().StFunc;
    const lemmix::TLetters& plus = *functions.HotKeyLookup('=', 1).Visual;
    const lemmix::TLetters& star = *functions.HotKeyLookup('8', 1).Visual;
    const lemmix::TLetters& line = form.top.Text().Lines()[0];
    QCOMPARE(int(line.size()), 1 + int(plus.size()) + 1 + int(star.size()) + 1);
    QCOMPARE(line[0].Code, std::uint8_t('x'));
    QVERIFY(lemmix::SameGlyph(line[1], plus[0]));
    QCOMPARE(line[1 + plus.size()].Font, lemmix::kMathFont);
    QCOMPARE(line[1 + plus.size()].Code, std::uint8_t('a'));
    QVERIFY(lemmix::SameGlyph(line[2 + plus.size()], star[0]));

    // A Cyrillic character says the Russian layout is active: the key types Cyrillic.
    QTest::sendKeyEvent(QTest::Press, form.top.Box(), Qt::Key(0x0424), QString::fromUtf8("ф"), Qt::NoModifier);
    QVERIFY(lemmix::CyrillicMode());
    const lemmix::TLetters& typed = form.top.Text().Lines()[0];
    QCOMPARE(typed[typed.size() - 2].Code, std::uint8_t("ф"_cp[0]));
    // Enter splits; Backspace at the start of the new line joins again.
    const int before = int(form.top.Text().Lines()[0].size());
    QTest::keyClick(form.top.Box(), Qt::Key_Return);
    QCOMPARE(form.top.Text().LineCount(), 2);
    QTest::keyClick(form.top.Box(), Qt::Key_Backspace);
    QCOMPARE(form.top.Text().LineCount(), 1);
    QCOMPARE(int(form.top.Text().Lines()[0].size()), before);
    // A Latin character: the layout changed back. The user's own switch holds
    // while the layout stays.
    QTest::keyClick(form.top.Box(), Qt::Key_A);
    QVERIFY(!lemmix::CyrillicMode());
    lemmix::SetCyrillicMode(true);
    QTest::keyClick(form.top.Box(), Qt::Key_S);
    QVERIFY(lemmix::CyrillicMode());
    const lemmix::TLetters& last = form.top.Text().Lines()[0];
    QCOMPARE(last[last.size() - 3].Code, std::uint8_t('a'));
    QCOMPARE(last[last.size() - 2].Code, std::uint8_t("ы"_cp[0]));
    // Keys go to the edit with the focus only.
    QCOMPARE(form.bottom.Text().Lines()[0].size(), std::size_t(1));
  }

  void mouseSelectionAndTheProgramClipboard() {
    EditForm form;
    form.top.AddText("abcdef", 1);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget* box = form.top.Box();
    QTest::mousePress(box, Qt::LeftButton, {}, LetterCentre(form.top, 0, 1));
    QTest::mouseMove(box, LetterCentre(form.top, 0, 3));
    QTest::mouseRelease(box, Qt::LeftButton, {}, LetterCentre(form.top, 0, 3));
    QVERIFY(form.top.Text().SelectionActive());
    QVERIFY(form.top.Text().IsSelected(0, 1) && form.top.Text().IsSelected(0, 3));
    QVERIFY(!form.top.Text().IsSelected(0, 4));
    QTest::keyClick(box, Qt::Key_Insert, Qt::ControlModifier);
    QTest::mouseClick(form.bottom.Box(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(form.bottom.Box()->hasFocus());
    QTest::keyClick(form.bottom.Box(), Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(EditText(form.bottom), QString("bcd"));
    // Focus leaving clears the selection.
    QVERIFY(!form.top.Text().SelectionActive());
  }

  void checkButtonsMarkOneLineAndTellTheWindow() {
    EditForm form;
    form.top.AddText("x > 0\\n y > 0\\n x + y > 0", 0);
    form.top.SetHighlight(2, true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.top.Text().LineCount(), 3);
    QVERIFY(form.top.Check(2) && form.top.Check(2)->isVisible());
    QTest::mouseClick(form.top.Check(1), Qt::LeftButton);
    QTest::mouseClick(form.top.Check(2), Qt::LeftButton);
    QTRY_COMPARE(form.marked, 2);
    QCOMPARE(form.top.MarkedLine(), 2);
    QVERIFY(form.top.Check(2)->Marked() && !form.top.Check(1)->Marked());
    // The marked glyph is the shipped picture: green in the middle.
    QCOMPARE(QImage(QString(LEMMIX_DATA_DIR) + "/Images/GreenBtn.bmp").size(), QSize(15, 15));
    const QColor middle = form.top.Check(2)->grab().toImage().pixelColor(7, 7);
    QVERIFY(middle.green() > middle.red() + 60);
    const QColor plain = form.top.Check(1)->grab().toImage().pixelColor(7, 7);
    QVERIFY(plain.green() < plain.red() + 20);
    // Some dialogs show a red cross instead.
    form.top.Check(0)->SetCross(true);
    const QColor cross = form.top.Check(0)->grab().toImage().pixelColor(7, 7);
    QVERIFY(cross.red() > cross.green() + 60);
    // A selection, for the picture.
    form.top.Box()->setFocus();
    QTest::mousePress(form.top.Box(), Qt::LeftButton, {}, LetterCentre(form.top, 0, 0));
    QTest::mouseMove(form.top.Box(), LetterCentre(form.top, 0, 2));
    QTest::mouseRelease(form.top.Box(), Qt::LeftButton, {}, LetterCentre(form.top, 0, 2));
    SaveScreen(&form, "formula-edit");
    // Clear leaves one empty line and one hidden, unmarked button.
    form.top.Clear();
    QCOMPARE(form.top.Text().LineCount(), 1);
    QVERIFY(form.top.Check(0) && !form.top.Check(0)->Marked());
    QVERIFY(!form.top.Check(1));
  }

  void longTextScrollsAndAutoSizeFitsItsText() {
    EditForm form;
    for (int i = 0; i < 40; ++i) form.top.AddText("x + " + std::to_string(i) + " > 0", 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.top.VerticalBar()->isVisible());
    form.top.SetFocusLine(39);
    QVERIFY(form.top.VerticalBar()->value() > 0);
    QVERIFY(form.top.Check(39)->isVisible());
    QVERIFY(!form.top.Check(0)->isVisible());

    QWidget label;
    TMyEdit fit(&label);
    fit.AutoSize = true;
    fit.Outer = QRect(0, 0, 400, 100);
    fit.Attach(&label);
    fit.AddText("a", 1);
    const int narrow = fit.Box()->width();
    fit.AddText("a much longer line", 1);
    QVERIFY(fit.Box()->width() > narrow);
    QVERIFY(!fit.HorizontalBar()->isVisible());
  }

  void paletteInsertsAtTheCaret() {
    EditForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    lemmix::TScriptForm* palette = lemmix_->ScriptForm();
    QVERIFY(palette);
    lemmix::TScriptButton* chosen = nullptr;
    OnNextModal([&](QWidget* modal) {
      QCOMPARE(modal->windowTitle(), Q("Математические символы, буквы и слова"_cp));
      QVERIFY(!palette->InsertButton()->isEnabled());
      QCOMPARE(palette->HelpTopic(), lemmix::TScriptForm::kDefaultHelp);
      QTest::mouseClick(palette->LetterButtons().front(), Qt::LeftButton);
      QCOMPARE(palette->HelpTopic(), lemmix::TScriptForm::kLetterHelp);
      for (int topic : {lemmix::TScriptForm::kDefaultHelp, lemmix::TScriptForm::kLetterHelp})
        QVERIFY(QFile::exists(QString(LEMMIX_DATA_DIR) + "/help/" + QString::number(topic) + ".html"));
      SaveScreen(modal, "palette-symbols");
      modal->findChild<QCheckBox*>("CyrillicMode")->click();
      QVERIFY(lemmix::CyrillicMode());
      for (lemmix::TScriptButton* button : palette->SymbolButtons()) {
        if (button->isEnabled() && button->Row() == 1) {
          chosen = button;
          break;
        }
      }
      QTest::mouseClick(chosen, Qt::LeftButton);
      QVERIFY(palette->InsertButton()->isEnabled());
      QCOMPARE(palette->HelpTopic(), chosen->Help());
      QVERIFY(modal->isVisible());
      QTest::mouseClick(chosen, Qt::LeftButton);  // the same button again inserts it
    });
    QTest::mouseClick(form.top.Box(), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(chosen);
    const lemmix::TLetters& typed = form.top.Text().Lines()[0];
    const lemmix::TLetters& symbol = chosen->Letters();
    QVERIFY(typed.size() >= symbol.size());
    QVERIFY(lemmix::SameGlyphs(lemmix::TLetters(typed.begin(), typed.begin() + symbol.size()), symbol));
    QCOMPARE(form.top.Text().Caret().Column, int(symbol.size()));

    // A read-only edit opens no palette.
    form.bottom.ReadOnly = true;
    QTest::mouseClick(form.bottom.Box(), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!palette->isVisible());
  }

  void paletteWordsAreSearchedAndInserted() {
    lemmix::TScriptForm* palette = lemmix_->ScriptForm();
    QVERIFY(palette);
    QTreeWidget* tree = palette->Words();
    QCOMPARE(tree->topLevelItemCount(), 3);
    // A subtopic's caption keeps it and its topic, and none of its words.
    palette->Search()->setText(Q("Логарифм"_cp));
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), Q("Предел и непрерывность функции"_cp));
    QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->child(0)->childCount(), 0);
    palette->Search()->setText(Q("XYZ-nowhere"_cp));
    QCOMPARE(tree->topLevelItemCount(), 0);
    palette->Search()->clear();

    EditForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QString word;
    OnNextModal([&](QWidget* modal) {
      palette->Pages()->setCurrentIndex(1);
      SaveScreen(modal, "palette-words");
      QTreeWidgetItem* first = tree->topLevelItem(0)->child(0)->child(0);
      word = first->text(0);
      tree->scrollToItem(first);
      QApplication::processEvents();
      const QPoint place = tree->visualItemRect(first).center();
      // A double click is a press, a release and a double-click event.
      QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place);
      QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, place);
      if (modal->isVisible()) {
        word = "the double click did not insert";
        static_cast<QDialog*>(modal)->reject();
      }
    });
    QTest::mouseClick(form.top.Box(), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!word.isEmpty());
    QCOMPARE(EditText(form.top).trimmed(), word);
  }

  void aFaultOfTheFormulaTakesTheCaret() {
    EditForm form;
    form.top.AddText("x > 0 \\and\\n y + 3.05 +", 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.bottom.Box()->setFocus();
    QTRY_VERIFY(form.bottom.Box()->hasFocus());
    // The parser's message, then "Error in input.": each closed in turn.
    QStringList shown;
    std::function<void(QWidget*)> close = [&](QWidget* modal) {
      shown << LabelTexts(modal);
      if (shown.size() == 1) SaveScreen(modal, "formula-fault-message");
      QTest::keyClick(modal, Qt::Key_Escape);
      if (shown.size() < 2) OnNextModal(close);
    };
    OnNextModal(close);
    QVERIFY(!form.top.ReadTree(true));
    QCOMPARE(shown, QStringList({Q("Отсутствует правый аргумент функции +"_cp), Q("Ошибка ввода."_cp)}));
    // The caret stands on the last plus, in the edit that has the focus now.
    const lemmix::TLetter plus = lemmix_->Context().StFunc->Intr(lemmix::kPlus)->Visual.front();
    const lemmix::TLetters& line = form.top.Text().Lines()[1];
    int last = -1;
    for (int i = 0; i < int(line.size()); ++i)
      if (lemmix::SameGlyph(line[i], plus)) last = i;
    QVERIFY(last > 0);
    QCOMPARE(form.top.Text().Caret(), (lemmix::TTextPlace{last, 1}));
    // The window gets the focus back from the closed message boxes with the edit.
    QCOMPARE(form.focusWidget(), form.top.Box());
    QApplication::setActiveWindow(&form);
    QTRY_VERIFY(form.top.Box()->hasFocus());
    QVERIFY(form.top.CaretRunning());
    QCOMPARE(form.top.CaretRect().left(), line[last].Left);
    SaveScreen(&form, "formula-fault-caret");
    // Mended, the formula reads, and the decimal keeps its zero.
    QTest::keyClick(form.top.Box(), Qt::Key_End);
    QTest::keyClick(form.top.Box(), Qt::Key_Y);
    lemmix::TExprPtr tree = form.top.ReadTree(true);
    QVERIFY(tree);
    QCOMPARE(QString::fromStdString(lemmix::GetString(form.top.Text().Lines(), 2, false).value_or("")),
             QString::fromStdString("x>0\\and\\n y+" + lemmix::NumberToString(*lemmix::NumberFromString("3.05")) + "+y"));
  }

  void decimalsAndTemplateParametersReadWhole() {
    EditForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.top.Box()->setFocus();
    QTRY_VERIFY(form.top.CaretRunning());
    // 0.001 typed on the main keys.
    for (const Qt::Key key : {Qt::Key_0, Qt::Key_Period, Qt::Key_0, Qt::Key_0, Qt::Key_1})
      QTest::keyClick(form.top.Box(), key);
    lemmix::TExprPtr typed = form.top.ReadTree(true);
    QVERIFY(typed && typed->NumberValue());
    QVERIFY(*typed->NumberValue() == *lemmix::NumberFromString("0.001"));
    // "#" and its number are a template parameter, never a Greek letter.
    form.bottom.AddText("#2 + x", 0);
    QCOMPARE(QString::fromStdString(lemmix::GetString(form.bottom.Text().Lines(), 2, false).value_or("")),
             QString("#2+x"));
    // Without its number the "#" is reported, and the caret goes to it.
    form.bottom.Box()->setFocus();
    QTRY_VERIFY(form.bottom.CaretRunning());
    QTest::keyClick(form.bottom.Box(), Qt::Key_Home);
    QTest::keyClick(form.bottom.Box(), Qt::Key_Right);
    QTest::keyClick(form.bottom.Box(), Qt::Key_Delete);
    QCOMPARE(form.bottom.Text().Lines()[0][0].Code, std::uint8_t('#'));
    QTest::keyClick(form.bottom.Box(), Qt::Key_End);
    QStringList shown;
    OnNextModal([&](QWidget* modal) {
      shown << LabelTexts(modal);
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    QVERIFY(!form.bottom.ReadTree(true));
    QCOMPARE(shown, QStringList({Q("Неверный индекс параметра шаблона."_cp)}));
    QCOMPARE(form.bottom.Text().Caret(), (lemmix::TTextPlace{0, 0}));
  }

  void messageBoxShowsTextAndFormula() {
    lemmix::TMessageForm box;
    QString caption;
    QString text;
    int result = -1;
    OnNextModal([&](QWidget* modal) {
      caption = modal->windowTitle();
      text = EditText(box.Edit());
      SaveScreen(modal, "message-box-formula");
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    connect(&box, &QDialog::finished, [&](int r) { result = r; });
    lemmix::TLetters formula = *lemmix_->Context().StFunc->HotKeyLookup('=', 0).Visual;
    box.ShowErrorWithFormula("Неверная формула:"_cp, "Wrong formula:", formula, 1);
    QCOMPARE(caption, Q("Ошибка"_cp));
    QVERIFY2(text.startsWith(Q("Неверная формула:\n"_cp)), qPrintable(text));
    QCOMPARE(result, lemmix::TMessageForm::kClosed);

    // Unattended verification writes the error to its log and shows nothing.
    lemmix::testing::TempDir dir;
    lemmix::TSession& context = lemmix_->Context();
    context.ProveThrough = true;
    context.DemoLogPath = (dir.Path() / "demo.prt").string();
    box.ShowError("Ошибка\\n вторая строка"_cp, "Error\\n line 2", 1);
    context.ProveThrough = false;
    QFile log(QString::fromStdString(context.DemoLogPath));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray(("Ошибка\\n вторая строка\r\n"_cp).c_str()));
    QVERIFY(!box.isVisible());
  }

 private:
  std::unique_ptr<ScopedWorkingDirectory> cwd_;
  std::unique_ptr<TLemmix> lemmix_;
};

QTEST_MAIN(EditGuiTest)
#include "edit_gui_test.moc"
