// The mathematical font in the running program: installed for the run, every
// sign of the catalogue drawn from it, and removed at the end.
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTest>

#include "gui/lemmix.h"
#include "gui/letters.h"
#include "gui/main_form.h"
#include "gui/qtext.h"
#include "gui_test_support.h"
#include "intrinsics/st_func.h"
#include "shell/cp1251.h"
#include "support/temp_dir.h"

using lemmix::operator""_cp;
using lemmix::TLemmix;
using lemmix::testing::LabelTexts;
using lemmix::testing::OnNextModal;
using lemmix::testing::ScopedWorkingDirectory;

namespace {

bool SymbolonInstalled() { return QFontDatabase::families().contains("Symbolon"); }

void CopyCatalogues(const lemmix::testing::TempDir& dir) {
  for (const char* name : {"TYPES.DAT", "STFUNC.DAT", "COUPLES.DAT", "ASSOT.DAT"}) {
    QFile file(QString(LEMMIX_DATA_DIR) + "/" + name);
    file.open(QIODevice::ReadOnly);
    dir.Write(name, file.readAll().toStdString());
  }
}

}  // namespace

class SpecimenGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void fontIsInstalledForTheRunAndRemovedAtTheEnd() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    QVERIFY(!SymbolonInstalled());
    {
      TLemmix lemmix;
      QVERIFY(lemmix.Context().StartupOk);
      QVERIFY(SymbolonInstalled());
      lemmix.Show();
      lemmix.MainForm().close();
      QVERIFY(!SymbolonInstalled());
    }
  }

  void missingFontIsReportedAndTheProgramGoesOn() {
    lemmix::testing::TempDir dir;
    CopyCatalogues(dir);
    ScopedWorkingDirectory cwd(dir.Path());
    QString text;
    OnNextModal([&](QWidget* modal) {
      text = LabelTexts(modal);
      static_cast<QDialog*>(modal)->accept();
    });
    TLemmix lemmix;
    QCOMPARE(text, lemmix::ToQString("Не удалось установить шрифт Symbolon.ttf"_cp));
    QVERIFY(lemmix.Context().StartupOk);
    QVERIFY(!SymbolonInstalled());
    lemmix.Show();
    QTest::qWait(20);
    QVERIFY(lemmix.MainForm().isVisible());
  }

  void failedCatalogueLeavesTheFontAlone() {
    lemmix::testing::TempDir dir;
    CopyCatalogues(dir);
    dir.Write("STFUNC.DAT", "Num = 300\r\n");
    QFile font(QString(LEMMIX_DATA_DIR) + "/Symbolon.ttf");
    font.open(QIODevice::ReadOnly);
    dir.Write("Symbolon.ttf", font.readAll().toStdString());
    ScopedWorkingDirectory cwd(dir.Path());
    QString text;
    OnNextModal([&](QWidget* modal) {
      text = LabelTexts(modal);
      static_cast<QDialog*>(modal)->accept();
    });
    TLemmix lemmix;
    QVERIFY2(text.startsWith(lemmix::ToQString("Ошибка в строке 1 файла стандартных функций:"_cp)), qPrintable(text));
    QVERIFY(!lemmix.Context().StartupOk);
    QVERIFY(!SymbolonInstalled());
  }

  // Draws every form and antonym of the catalogue into a specimen to look at,
  // and checks that the font has a glyph for every sign they use.
  void everyFormHasItsGlyphs() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    TLemmix lemmix;
    const lemmix::TStFunc& stFunc = *lemmix.Context().StFunc;
    const QRawFont raw(QString(LEMMIX_DATA_DIR) + "/Symbolon.ttf", 16);
    QVERIFY(raw.isValid());

    std::vector<const lemmix::TIntr*> shown;
    for (const auto& f : stFunc.IntrList)
      if (!f->Visual.empty()) shown.push_back(f.get());
    constexpr int kColumns = 3;
    constexpr int kColumnWidth = 520;
    constexpr int kRowHeight = 26;
    const int rows = static_cast<int>((shown.size() + kColumns - 1) / kColumns);
    QImage image(kColumns * kColumnWidth, rows * kRowHeight + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStringList missing;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const lemmix::TIntr& f = *shown[i];
      const int x = static_cast<int>(i / rows) * kColumnWidth + 8;
      const int y = static_cast<int>(i % rows) * kRowHeight + 22;
      painter.setPen(Qt::darkGray);
      painter.setFont(lemmix::LetterFont(lemmix::kPlainFont, 9));
      painter.drawText(x, y, QString::number(f.Number) + " " + lemmix::ToQString(f.Name));
      painter.setPen(Qt::black);
      int width = lemmix::DrawLetters(painter, x + 190, y, f.Visual, 14);
      if (f.Antonym != nullptr) {
        painter.setPen(Qt::darkRed);
        lemmix::DrawLetters(painter, x + 200 + width, y, f.Antonym->Visual, 14);
      }
      auto check = [&](const lemmix::TLetters& letters) {
        for (const lemmix::TLetter& letter : letters)
          if (letter.Font == lemmix::kMathFont && !raw.supportsCharacter(0xF000u + letter.Code))
            missing << QString("%1: code %2").arg(lemmix::ToQString(f.Name)).arg(letter.Code, 2, 16);
      };
      check(f.Visual);
      if (f.Antonym != nullptr) check(f.Antonym->Visual);
    }
    painter.end();
    lemmix::testing::SaveImage(image, "intrinsics-specimen");
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    QVERIFY(shown.size() > 150);
  }
};

QTEST_MAIN(SpecimenGuiTest)
#include "specimen_gui_test.moc"
