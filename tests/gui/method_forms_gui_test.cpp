// The method windows of the statement window: the type dialog and the three
// forms write exactly the typed lines, show them again, keep them on Cancel,
// refuse a bad priority or preferable method, and change nothing read-only.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <map>

#include "book/method_lines.h"
#include "book/statement.h"
#include "gui/lemmix.h"
#include "gui/method_forms.h"
#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "gui/show_form.h"
#include "gui_test_support.h"
#include "shell/cp1251.h"
#include "support/temp_dir.h"

using lemmix::operator""_cp;
using lemmix::TMethodForm;
using lemmix::TMethodTypeForm;
using lemmix::TStatement;
using lemmix::testing::OnNextModalNamed;
using lemmix::testing::SaveScreen;

namespace {

namespace fs = std::filesystem;

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

class TestMethod : public lemmix::TMethodObject {
 public:
  std::unique_ptr<lemmix::TMethodObject> Copy() const override { return std::make_unique<TestMethod>(); }
};

// The lines of a form: formula fields and text fields by statement line.
using TFields = std::map<int, std::string>;

const TFields kSuperficial = {
    {lemmix::kMethodVariablesField, "a \\in \\R , b \\in \\R"},
    {lemmix::kMethodInputField, "\\max ( { a , b } ) \\ge a"},
    {lemmix::kMethodOutputField, "a \\ge a \\and b \\ge b"},
    {lemmix::kMethodPresentField, "a \\in \\R \\and b \\in \\R"},
    {lemmix::kMethodTestingField, "a \\ge b"},
    {lemmix::kMethodClassesField, "\\not ( a = b )"},
    {lemmix::kMethodFalseTypesField, "a \\in \\N"},
    {lemmix::kMethodPreferableField, "Method A ; Method C"},
    {lemmix::kMethodPriorityField, "2"},
    {lemmix::kMethodRusCaptionField, "Максимум не меньше аргумента"_cp},
    {lemmix::kMethodEngCaptionField, "Maximum is not less"},
    {lemmix::kMethodGroupField, "max"},
    {lemmix::kMethodHelpField, "17"},
};

const TFields kDialogDeep = {
    {lemmix::kMethodVariablesField, "a \\in \\R , b \\in \\R"},
    {lemmix::kMethodInputField, "\\max ( { a , b } )"},
    {lemmix::kMethodOutputField, "( a + b + | a - b | ) / 2"},
    {lemmix::kMethodNewVariablesField, "c \\in \\R"},
    {lemmix::kMethodNewConditionsField, "c \\ge a \\and c \\ge b"},
    {lemmix::kMethodRusCaptionField, "Раскрыть максимум"_cp},
    {lemmix::kMethodEngCaptionField, "Open the maximum"},
};

const TFields kAutomaticDeep = {
    {lemmix::kMethodVariablesField, "a \\in \\R"},
    {lemmix::kMethodInputField, "a + 0"},
    {lemmix::kMethodOutputField, "a"},
};

void MakeMethod(TStatement& statement) {
  statement.Lines.assign(lemmix::kMethodLines, std::string());
  statement.Lines[lemmix::kKindLine] = "method";
}

std::string Stored(const lemmix::TMyEdit& edit) {
  return lemmix::MethodFieldText(edit).value_or("<unreadable>");
}

void Fill(TMethodForm& form, const TFields& fields) {
  for (const auto& [line, text] : fields) {
    if (lemmix::TMyEdit* edit = form.Formula(line)) {
      edit->Clear();
      edit->AddText(text, 0);
    } else {
      form.TextField(line)->setText(Q(text));
    }
  }
}

// What the form shows, field by field, in stored form.
TFields Shown(const TMethodForm& form, const TFields& fields) {
  TFields shown;
  for (const auto& [line, text] : fields) {
    const lemmix::TMyEdit* edit = form.Formula(line);
    shown[line] = edit ? Stored(*edit) : lemmix::FromQString(form.TextField(line)->text());
  }
  return shown;
}

// Answers the type dialog with a choice, optionally saving a screenshot of it.
void ChooseType(bool dialog, bool superficial, const QString& screen = {}) {
  OnNextModalNamed("MethodTypeForm", [=](QWidget* modal) {
    auto* form = static_cast<TMethodTypeForm*>(modal);
    (dialog ? form->DialogRadio() : form->AutomaticRadio())->setChecked(true);
    (superficial ? form->SuperficialRadio() : form->DeepRadio())->setChecked(true);
    if (!screen.isEmpty()) SaveScreen(form, screen);
    form->OkButton()->click();
  });
}

// Closes the modal window when a failed check left its handler early.
struct TCloseOnExit {
  QWidget* Modal;
  ~TCloseOnExit() {
    if (Modal->isVisible()) static_cast<QDialog*>(Modal)->reject();
  }
};

// Reads and closes the next message box.
void ReadMessage(QString* text) {
  OnNextModalNamed("MessageForm", [text](QWidget* box) {
    *text = lemmix::testing::LabelTexts(box);
    static_cast<QDialog*>(box)->accept();
  });
}

}  // namespace

class MethodFormsGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    dir_ = std::make_unique<lemmix::testing::TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<lemmix::testing::ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<lemmix::TLemmix>();
    // "Method B" stands twice in this book.
    lemmix_->ShowForm().SetMethodNames([] { return std::vector<std::string>{"Method A", "Method B", "Method C", "Method B"}; });
  }
  void cleanupTestCase() {
    TStatement::SetMethodBuilder(nullptr);
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  void typeDialogShowsTheStoredType() {
    TMethodTypeForm& form = Windows().TypeForm();
    // Stored type -> Dialog?, Superficial?; anything else starts as a dialog superficial method.
    const std::vector<std::tuple<std::string, bool, bool>> table = {
        {"0", true, true}, {"1", false, false}, {"2", false, true}, {"3", true, false}, {"", true, true}, {"7", true, true}};
    for (const auto& [stored, dialog, superficial] : table) {
      std::optional<int> chosen;
      OnNextModalNamed("MethodTypeForm", [&, dialog = dialog, superficial = superficial](QWidget*) {
        QCOMPARE(form.DialogRadio()->isChecked(), dialog);
        QCOMPARE(form.SuperficialRadio()->isChecked(), superficial);
        form.CancelButton()->click();
      });
      chosen = form.Choose(stored, false);
      QVERIFY(!chosen);
    }
    // Each choice gives its type.
    const std::vector<std::tuple<bool, bool, int>> choices = {{true, true, 0}, {false, false, 1}, {false, true, 2}, {true, false, 3}};
    for (const auto& [dialog, superficial, type] : choices) {
      ChooseType(dialog, superficial, type == 2 ? "method-type" : QString());
      QCOMPARE(form.Choose("0", false), std::optional<int>(type));
    }
  }

  void superficialFormWritesWhatWasTypedAndShowsItAgain() {
    TStatement statement;
    MakeMethod(statement);
    statement.Lines[lemmix::kMethodConnectiveField] = "stale";
    TMethodForm& form = Windows().SuperficialForm();
    ChooseType(false, true);
    OnNextModalNamed("SuperficialMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(form.Labels(), (QStringList{"Identifiable variables", "Input conditon", "Output condition", "Connective",
                                           "Present conditions", "Testing conditions", "Conditions on classes",
                                           "False conditions on types", "Preferable methods", "Priority",
                                           "Russian caption", "English caption", "Group", "HelpInd"}));
      QCOMPARE(modal->windowTitle(), QString("Superficial method"));
      Fill(form, kSuperficial);
      form.Connective()->setCurrentIndex(1);
      form.NegationEnabled()->setChecked(true);
      SaveScreen(modal, "method-superficial");
      form.OkButton()->click();
    });
    QVERIFY(Windows().Edit(statement, false));
    for (const auto& [line, text] : kSuperficial) QCOMPARE(Q(statement.Lines[line]), Q(text));
    QCOMPARE(statement.Lines[lemmix::kMethodTypeField], std::string("2"));
    QCOMPARE(statement.Lines[lemmix::kMethodConnectiveField], std::string("1"));
    QCOMPARE(statement.Lines[lemmix::kMethodFlagsField], std::string("true false"));
    QCOMPARE(statement.Lines.size(), std::size_t(lemmix::kMethodLines));

    // Reopened, the form shows the same texts; Ok without changes writes the same lines.
    const std::vector<std::string> written = statement.Lines;
    ChooseType(false, true);
    OnNextModalNamed("SuperficialMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(Shown(form, kSuperficial), kSuperficial);
      QCOMPARE(form.Connective()->currentIndex(), 1);
      QVERIFY(form.NegationEnabled()->isChecked() && !form.Terminal()->isChecked());
      form.OkButton()->click();
    });
    QVERIFY(Windows().Edit(statement, false));
    QCOMPARE(statement.Lines, written);

    // The dialog choice of the same form writes type 0 and keeps the fields.
    ChooseType(true, true);
    OnNextModalNamed("SuperficialMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal}; form.OkButton()->click(); });
    QVERIFY(Windows().Edit(statement, false));
    QCOMPARE(statement.Lines[lemmix::kMethodTypeField], std::string("0"));
    QCOMPARE(statement.Lines[lemmix::kMethodInputField], kSuperficial.at(lemmix::kMethodInputField));
  }

  void cancelLeavesTheLines() {
    TStatement statement;
    MakeMethod(statement);
    statement.Lines[lemmix::kMethodTypeField] = "0";
    statement.Lines[lemmix::kMethodPriorityField] = "3";
    const std::vector<std::string> before = statement.Lines;
    TMethodForm& form = Windows().SuperficialForm();
    ChooseType(true, true);
    OnNextModalNamed("SuperficialMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(form.TextField(lemmix::kMethodPriorityField)->text(), QString("3"));
      Fill(form, kSuperficial);
      form.Terminal()->setChecked(true);
      form.CancelButton()->click();
    });
    QVERIFY(!Windows().Edit(statement, false));
    QCOMPARE(statement.Lines, before);
    // Cancel in the type dialog opens no form.
    OnNextModalNamed("MethodTypeForm", [](QWidget* modal) { static_cast<TMethodTypeForm*>(modal)->CancelButton()->click(); });
    QVERIFY(!Windows().Edit(statement, false));
    QCOMPARE(statement.Lines, before);
  }

  void badPriorityOrPreferableMethodRefusesOk() {
    TStatement statement;
    MakeMethod(statement);
    const std::vector<std::string> before = statement.Lines;
    TMethodForm& form = Windows().SuperficialForm();
    const QString priority = "The priority must be a positive integer number.";
    const QString priorityRus = Q("Приоритет метода должен быть натуральным числом."_cp);
    // Priority, preferable methods -> what the refusal says.
    const std::vector<std::tuple<QString, QString, QString, QString>> table = {
        {"0", "", priority, priorityRus},
        {"", "", priority, priorityRus},
        {"-1", "", priority, priorityRus},
        {"1.5", "", priority, priorityRus},
        {"two", "", priority, priorityRus},
        {"12345678901", "", priority, priorityRus},
        {"1", "Method A ; Method Z", "Wrong name of a preferable method: Method Z",
         Q("Неверное название предпочтительного метода: "_cp) + "Method Z"},
        {"1", "Method B", "Statement name Method B is doubled.",
         Q("Утверждение с именем "_cp) + "Method B" + Q(" встречается 2 раза."_cp)},
    };
    ChooseType(true, true);
    OnNextModalNamed("SuperficialMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      Fill(form, kSuperficial);
      for (const auto& [typedPriority, preferable, eng, rus] : table) {
        form.TextField(lemmix::kMethodPriorityField)->setText(typedPriority);
        form.TextField(lemmix::kMethodPreferableField)->setText(preferable);
        QString said;
        ReadMessage(&said);
        QVERIFY(!form.Confirm());
        QVERIFY2(said.contains(eng) || said.contains(rus), qPrintable(typedPriority + ": " + said));
        QVERIFY(modal->isVisible());
      }
      form.CancelButton()->click();
    });
    QVERIFY(!Windows().Edit(statement, false));
    QCOMPARE(statement.Lines, before);
  }

  void formulaThatDoesNotReadRefusesOk() {
    TStatement statement;
    MakeMethod(statement);
    const std::vector<std::string> before = statement.Lines;
    TMethodForm& form = Windows().AutomaticDeepForm();
    bool refused = false;
    ChooseType(false, false);
    OnNextModalNamed("AutomaticDeepMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      Fill(form, kAutomaticDeep);
      // Typed without blanks, a field is still stored item by item, as the prover splits its lists.
      form.Formula(lemmix::kMethodVariablesField)->Clear();
      form.Formula(lemmix::kMethodVariablesField)->AddText("a\\in\\R,b\\in\\N", 0);
      QCOMPARE(Q(Stored(*form.Formula(lemmix::kMethodVariablesField))), QString("a \\in \\R , b \\in \\N"));
      // An unmatched bracket is no formula.
      form.Formula(lemmix::kMethodOutputField)->Clear();
      form.Formula(lemmix::kMethodOutputField)->AddText("( a", 1);
      OnNextModalNamed("MessageForm", [](QWidget* box) { static_cast<QDialog*>(box)->accept(); });
      refused = !form.Confirm() && modal->isVisible();
      form.CancelButton()->click();
    });
    QVERIFY(!Windows().Edit(statement, false));
    QVERIFY(refused);
    QCOMPARE(statement.Lines, before);
  }

  void deepFormsWriteTheirLines() {
    TStatement statement;
    MakeMethod(statement);
    // A superficial method turned into a dialog deep one: fields of another meaning start empty and are cleared.
    for (const auto& [line, text] : kSuperficial) statement.Lines[line] = text;
    statement.Lines[lemmix::kMethodTypeField] = "0";
    statement.Lines[lemmix::kMethodConnectiveField] = "1";
    statement.Lines[lemmix::kMethodFlagsField] = "true true";
    TMethodForm& dialog = Windows().DialogDeepForm();
    ChooseType(true, false);
    OnNextModalNamed("DialogDeepMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(dialog.Labels(), (QStringList{"Identifiable variables", "Input expression", "Output expression",
                                             "New variables", "New conditions", "Russian caption", "English caption"}));
      QCOMPARE(modal->windowTitle(), QString("Dialog deep method"));
      QCOMPARE(Stored(*dialog.Formula(lemmix::kMethodNewVariablesField)), std::string());
      QCOMPARE(Q(Stored(*dialog.Formula(lemmix::kMethodVariablesField))), Q(kSuperficial.at(lemmix::kMethodVariablesField)));
      QVERIFY(dialog.Terminal()->isChecked());
      Fill(dialog, kDialogDeep);
      dialog.Terminal()->setChecked(false);
      SaveScreen(modal, "method-deep-dialog");
      dialog.OkButton()->click();
    });
    QVERIFY(Windows().Edit(statement, false));
    for (const auto& [line, text] : kDialogDeep) QCOMPARE(Q(statement.Lines[line]), Q(text));
    QCOMPARE(statement.Lines[lemmix::kMethodTypeField], std::string("3"));
    QCOMPARE(statement.Lines[lemmix::kMethodFlagsField], std::string("false false"));
    for (const int line : {lemmix::kMethodTestingField, lemmix::kMethodClassesField, lemmix::kMethodFalseTypesField,
                           lemmix::kMethodPreferableField, lemmix::kMethodPriorityField, lemmix::kMethodGroupField,
                           lemmix::kMethodHelpField})
      QCOMPARE(statement.Lines[line], std::string());
    ChooseType(true, false);
    OnNextModalNamed("DialogDeepMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(Shown(dialog, kDialogDeep), kDialogDeep);
      dialog.CancelButton()->click();
    });
    QVERIFY(!Windows().Edit(statement, false));

    TStatement automatic;
    MakeMethod(automatic);
    TMethodForm& form = Windows().AutomaticDeepForm();
    ChooseType(false, false);
    OnNextModalNamed("AutomaticDeepMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(form.Labels(), (QStringList{"Identifiable variables", "Input expression", "Output expression"}));
      QVERIFY(!form.TextField(lemmix::kMethodRusCaptionField) && !form.NegationEnabled());
      Fill(form, kAutomaticDeep);
      form.Terminal()->setChecked(true);
      SaveScreen(modal, "method-deep-auto");
      form.OkButton()->click();
    });
    QVERIFY(Windows().Edit(automatic, false));
    for (const auto& [line, text] : kAutomaticDeep) QCOMPARE(Q(automatic.Lines[line]), Q(text));
    QCOMPARE(automatic.Lines[lemmix::kMethodTypeField], std::string("1"));
    QCOMPARE(automatic.Lines[lemmix::kMethodFlagsField], std::string("false true"));
    ChooseType(false, false);
    OnNextModalNamed("AutomaticDeepMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(Shown(form, kAutomaticDeep), kAutomaticDeep);
      QVERIFY(form.Terminal()->isChecked());
      form.CancelButton()->click();
    });
    QVERIFY(!Windows().Edit(automatic, false));
  }

  void readOnlyChangesNothing() {
    TStatement statement;
    MakeMethod(statement);
    for (const auto& [line, text] : kSuperficial) statement.Lines[line] = text;
    statement.Lines[lemmix::kMethodTypeField] = "2";
    statement.Lines[lemmix::kMethodConnectiveField] = "0";
    statement.Lines[lemmix::kMethodFlagsField] = "false false";
    const std::vector<std::string> before = statement.Lines;
    TMethodForm& form = Windows().SuperficialForm();
    bool radiosLocked = false;
    OnNextModalNamed("MethodTypeForm", [&](QWidget* modal) {
      auto* type = static_cast<TMethodTypeForm*>(modal);
      radiosLocked = !type->DeepRadio()->isEnabled() && !type->DialogRadio()->isEnabled() &&
                     type->AutomaticRadio()->isChecked() && type->SuperficialRadio()->isChecked();
      type->OkButton()->click();
    });
    OnNextModalNamed("SuperficialMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QVERIFY(form.OkButton()->isHidden());
      QCOMPARE(form.CancelButton()->text(), QString("Close"));
      QVERIFY(form.Formula(lemmix::kMethodInputField)->ReadOnly);
      QVERIFY(!form.Connective()->isEnabled() && !form.Terminal()->isEnabled() && !form.NegationEnabled()->isEnabled());
      QLineEdit* priority = form.TextField(lemmix::kMethodPriorityField);
      QVERIFY(priority->isReadOnly());
      QTest::keyClicks(priority, "9");
      QCOMPARE(priority->text(), QString("2"));
      priority->setText("5");  // even a changed field is never written
      QVERIFY(!form.Confirm());
      form.CancelButton()->click();
    });
    QVERIFY(!Windows().Edit(statement, true));
    QVERIFY(radiosLocked);
    QCOMPARE(statement.Lines, before);
  }

  void statementWindowOpensTheMethodWindowsOnItsCopy() {
    TStatement::SetMethodBuilder([](const TStatement&) { return std::make_unique<TestMethod>(); });
    lemmix::TShowForm& show = lemmix_->ShowForm();
    TStatement statement;
    MakeMethod(statement);
    statement.Lines[lemmix::kRussianNameLine] = "Метод максимума"_cp;
    statement.Lines[lemmix::kFormulationLine] = "";
    TMethodForm& form = Windows().AutomaticDeepForm();
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      QCOMPARE(show.KindButton()->text(), Q("Свойства метода"_cp));
      ChooseType(false, false);
      OnNextModalNamed("AutomaticDeepMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
        Fill(form, kAutomaticDeep);
        form.OkButton()->click();
      });
      show.KindButton()->click();
      // Written into the window's copy, not yet into the statement.
      QCOMPARE(show.WorkingCopy().Lines[lemmix::kMethodInputField], kAutomaticDeep.at(lemmix::kMethodInputField));
      QCOMPARE(statement.Lines[lemmix::kMethodInputField], std::string());
      show.OkButton()->click();
      if (modal->isVisible()) show.CancelButton()->click();
    });
    QVERIFY(show.EditStatement(statement));
    for (const auto& [line, text] : kAutomaticDeep) QCOMPARE(statement.Lines[line], text);
    QCOMPARE(statement.Lines[lemmix::kMethodTypeField], std::string("1"));

    // Shown read-only, the forms open but write nothing.
    const std::vector<std::string> before = statement.Lines;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
      OnNextModalNamed("MethodTypeForm", [](QWidget* modal) { static_cast<TMethodTypeForm*>(modal)->OkButton()->click(); });
      OnNextModalNamed("AutomaticDeepMethodForm", [&](QWidget* modal) {
      TCloseOnExit close{modal};
        QCOMPARE(Stored(*form.Formula(lemmix::kMethodInputField)), kAutomaticDeep.at(lemmix::kMethodInputField));
        form.Formula(lemmix::kMethodInputField)->AddText("b", 1);
        form.CancelButton()->click();
      });
      show.KindButton()->click();
      QCOMPARE(show.WorkingCopy().Lines, before);
      show.CancelButton()->click();
    });
    show.ViewStatement(statement);
    QCOMPARE(statement.Lines, before);
  }

  void helpPagesExist() {
    const std::vector<int> topics = {TMethodTypeForm::kHelpTopic, Windows().SuperficialForm().HelpTopic(),
                                     Windows().DialogDeepForm().HelpTopic(), Windows().AutomaticDeepForm().HelpTopic()};
    QCOMPARE(topics, (std::vector<int>{600, 601, 602, 603}));
    for (const int topic : topics)
      QVERIFY(fs::exists(fs::path(LEMMIX_DATA_DIR) / "help" / (std::to_string(topic) + ".html")));
  }

 private:
  lemmix::TMethodWindows& Windows() { return lemmix_->ShowForm().MethodWindows(); }

  std::unique_ptr<lemmix::testing::TempDir> dir_;
  std::unique_ptr<lemmix::testing::ScopedWorkingDirectory> cwd_;
  std::unique_ptr<lemmix::TLemmix> lemmix_;
};

QTEST_MAIN(MethodFormsGuiTest)
#include "method_forms_gui_test.moc"
