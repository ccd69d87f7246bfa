// The words page of the symbol palette with every word of the catalogue:
// each word stands under the subtopic its place names, none is cut off by the
// limit of the tree, its node opens its own help page, and a search finds the
// words of a phrase. Screenshots of each topic for a look as a student sees it.
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <set>

#include "gui/lemmix.h"
#include "gui/script_form.h"
#include "gui_test_support.h"
#include "intrinsics/st_func.h"

using lemmix::TLemmix;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;

namespace {

// A word's caption in the tree: the text of its letters without the blanks around.
QString Caption(const lemmix::TLetters& letters) { return QString::fromStdString(lemmix::LettersToUtf8(letters)).trimmed(); }

// The child of `parent` with the caption, or null.
QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& caption) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(0) == caption) return parent->child(i);
  return nullptr;
}

}  // namespace

class PaletteWordsGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    cwd_ = std::make_unique<ScopedWorkingDirectory>(LEMMIX_DATA_DIR);
    lemmix_ = std::make_unique<TLemmix>();
    QVERIFY(lemmix_->Context().StartupOk);
  }
  void cleanup() {
    lemmix_.reset();
    cwd_.reset();
  }

  void everyWordStandsUnderItsSubtopicWithItsHelp() {
    lemmix::TScriptForm* palette = lemmix_->ScriptForm();
    QVERIFY(palette);
    palette->Search()->clear();
    palette->resize(560, 900);
    palette->show();
    QVERIFY(QTest::qWaitForWindowExposed(palette));
    palette->Pages()->setCurrentIndex(1);
    QTreeWidget* tree = palette->Words();
    QCOMPARE(tree->topLevelItemCount(), 3);
    int words = 0;
    int nodes = 0;
    for (const auto& f : lemmix_->Context().StFunc->IntrList) {
      if (!f || f->Palette.empty()) continue;
      int topic = -1;
      int subtopic = -1;
      QCOMPARE(std::sscanf(f->Palette.c_str(), "%d-%d", &topic, &subtopic), 2);
      QVERIFY2(topic >= 0 && topic < tree->topLevelItemCount(), f->Name.c_str());
      QTreeWidgetItem* under = tree->topLevelItem(topic);
      QVERIFY2(subtopic >= 0 && subtopic < under->childCount(), f->Name.c_str());
      QTreeWidgetItem* item = ChildNamed(under->child(subtopic), Caption(f->Visual));
      QVERIFY2(item, (f->Name + " is not under its subtopic").c_str());
      // Clicking the word selects it; its help is the word's page.
      tree->scrollToItem(item);
      QApplication::processEvents();
      QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
      QVERIFY2(palette->InsertButton()->isEnabled(), f->Name.c_str());
      QCOMPARE(palette->HelpTopic(), f->HelpIndex);
      ++words;
      nodes += f->Antonym ? 2 : 1;
    }
    QVERIFY(words > 90);
    int subtopics = 0;
    for (int t = 0; t < tree->topLevelItemCount(); ++t) subtopics += tree->topLevelItem(t)->childCount();
    QVERIFY(3 + subtopics + nodes <= lemmix::TScriptForm::kMaxWordNodes);

    // One screenshot per topic, the other topics folded.
    tree->clearSelection();
    palette->resize(560, 1250);
    for (int t = 0; t < tree->topLevelItemCount(); ++t) {
      for (int other = 0; other < tree->topLevelItemCount(); ++other)
        tree->topLevelItem(other)->setExpanded(other == t);
      tree->scrollToItem(tree->topLevelItem(t), QAbstractItemView::PositionAtTop);
      QApplication::processEvents();
      SaveScreen(palette, QString("palette-words-topic-%1").arg(t));
    }
    palette->hide();
  }

  void aSearchKeepsTheWordsOfAPhrase() {
    lemmix::TScriptForm* palette = lemmix_->ScriptForm();
    QVERIFY(palette);
    palette->resize(560, 520);
    palette->show();
    QVERIFY(QTest::qWaitForWindowExposed(palette));
    palette->Pages()->setCurrentIndex(1);
    QTreeWidget* tree = palette->Words();
    for (const char* phrase : {"стремится", "ограничена", "на"}) {
      const QString text = QString::fromUtf8(phrase);
      std::set<QString> expected;
      for (const auto& f : lemmix_->Context().StFunc->IntrList) {
        if (!f || f->Palette.empty()) continue;
        if (Caption(f->Visual).contains(text)) expected.insert(Caption(f->Visual));
        if (f->Antonym && Caption(f->Antonym->Visual).contains(text)) expected.insert(Caption(f->Antonym->Visual));
      }
      QVERIFY(!expected.empty());
      palette->Search()->setText(text);
      std::set<QString> shown;
      for (int t = 0; t < tree->topLevelItemCount(); ++t) {
        for (int s = 0; s < tree->topLevelItem(t)->childCount(); ++s) {
          QTreeWidgetItem* sub = tree->topLevelItem(t)->child(s);
          for (int w = 0; w < sub->childCount(); ++w) shown.insert(sub->child(w)->text(0));
        }
      }
      QStringList missing;
      for (const QString& word : expected)
        if (!shown.contains(word)) missing << word;
      QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
      QCOMPARE(shown.size(), expected.size());
      if (std::string(phrase) == "стремится") SaveScreen(palette, "palette-words-search-tends");
    }
    palette->Search()->clear();
    palette->hide();
  }

 private:
  std::unique_ptr<ScopedWorkingDirectory> cwd_;
  std::unique_ptr<TLemmix> lemmix_;
};

QTEST_MAIN(PaletteWordsGuiTest)
#include "palette_words_gui_test.moc"
