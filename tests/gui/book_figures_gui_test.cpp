// The figures of the textbook's pages in the HTML window: every picture a page
// names loads at the size of its file, and a node's page opened at its place
// shows its figure on screen exactly as drawn. Screenshots of pages with
// figures for a look as a student sees them.
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <filesystem>
#include <optional>

#include "book/part.h"
#include "book/path_name.h"
#include "book/search.h"
#include "gui/html_form.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

using lemmix::TLemmix;
using lemmix::testing::OnNextModal;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;

namespace {

namespace fs = std::filesystem;

struct Picture {
  QString Source;  // as the page writes it
  int Position;    // in the document
};

QList<Picture> Pictures(const QTextDocument& document) {
  QList<Picture> pictures;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat())
        pictures.push_back({it.fragment().charFormat().toImageFormat().name(), it.fragment().position()});
  return pictures;
}

// The picture the document holds for a source, however the window keeps it.
QImage Resource(QTextDocument& document, const QString& source) {
  const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(source));
  if (resource.userType() == QMetaType::QImage) return resource.value<QImage>();
  if (resource.userType() == QMetaType::QPixmap) return resource.value<QPixmap>().toImage();
  if (resource.userType() == QMetaType::QByteArray) return QImage::fromData(resource.toByteArray());
  return {};
}

// Where `figure` appears pixel for pixel in `screen`, its top within the rows [top, bottom].
std::optional<QPoint> Find(const QImage& screen, const QImage& figure, int top, int bottom) {
  const QImage s = screen.convertToFormat(QImage::Format_RGB32);
  const QImage f = figure.convertToFormat(QImage::Format_RGB32);
  // The drawn pixels first: white margins would match the page around a wrong place.
  QList<QPoint> inked, blank;
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x) (qGray(f.pixel(x, y)) < 250 ? inked : blank).push_back({x, y});
  inked += blank;
  for (int y = std::max(0, top); y <= std::min(bottom, s.height() - f.height()); ++y)
    for (int x = 0; x <= s.width() - f.width(); ++x) {
      bool same = true;
      for (const QPoint& p : inked)
        if (s.pixel(x + p.x(), y + p.y()) != f.pixel(p)) {
          same = false;
          break;
        }
      if (same) return QPoint(x, y);
    }
  return std::nullopt;
}

}  // namespace

class BookFiguresGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    dir_ = std::make_unique<lemmix::testing::TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<TLemmix>();
    lemmix_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
    QVERIFY(lemmix_->Context().Book);
  }
  void cleanupTestCase() {
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  // Every page of the book as the window shows it: each picture it names is
  // the picture of its file, and the pages together show every figure drawn.
  void everyPictureOfEveryPageLoads() {
    QTextBrowser* browser = lemmix_->HtmlForm().Browser();
    const QDir book(QString::fromStdString((dir_->Path() / "book").string()));
    QSet<QString> shown;
    for (const QString& page : book.entryList({"*.htm"}, QDir::Files)) {
      browser->setSource(QUrl::fromLocalFile(book.filePath(page)));
      QVERIFY2(!browser->toPlainText().isEmpty(), qPrintable(page));
      for (const Picture& picture : Pictures(*browser->document())) {
        const QString where = page + ": " + picture.Source;
        const QImage file(book.filePath(picture.Source));
        QVERIFY2(!file.isNull(), qPrintable(where));
        const QImage loaded = Resource(*browser->document(), picture.Source);
        QVERIFY2(!loaded.isNull(), qPrintable(where));
        QCOMPARE(loaded.size(), file.size());
        QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32), file.convertToFormat(QImage::Format_RGB32));
        shown.insert(QDir::cleanPath(book.filePath(picture.Source)));
      }
    }
    const QStringList figures = QDir(book.filePath("fig")).entryList({"*.png"}, QDir::Files);
    QVERIFY(figures.size() >= 5);
    for (const QString& figure : figures)
      QVERIFY2(shown.contains(QDir::cleanPath(book.filePath("fig/" + figure))), qPrintable(figure + " is on no page"));
  }

  // A node's page at its place ("page.htm#id"): the page's file is shown
  // scrolled to the place, and the figure there is drawn pixel for pixel.
  void nodePageOpensAtItsPlaceWithItsFigure() {
    const QString figure = "fig/seq_limit.png";
    QString page = "<html><body><h1 id=\"top\">Начало</h1>";
    for (int i = 0; i < 40; ++i) page += QString("<p>Абзац %1 перед рисунком.</p>").arg(i);
    page += "<h2 id=\"far\">Рисунок</h2><p align=\"center\"><img src=\"" + figure + "\" alt=\"ε\"><br>Подпись</p>";
    for (int i = 0; i < 40; ++i) page += QString("<p>Абзац %1 после рисунка.</p>").arg(i);
    page += "</body></html>";
    dir_->Write("book/figure-place.htm", page.toStdString());
    PageNode node("figure-place.htm#far");
    const Shown shown = ShowNode(node, figure, "html-window-figure-place");
    QCOMPARE(shown.Fragment, QString("far"));
    QVERIFY2(shown.Text.contains(QString::fromUtf8("Абзац 39 после рисунка")), qPrintable(shown.Text.left(200)));
    QVERIFY2(shown.ScrolledTo > 0, "the window stayed at the top of the page");
    QVERIFY(shown.FigureTop >= 0);
    const QImage drawn(BookFile(figure));
    const std::optional<QPoint> at = Find(shown.Screen, drawn, shown.FigureTop, shown.FigureTop + 40);
    QVERIFY2(at, qPrintable(figure + " is not drawn on screen"));
    // Centred in its paragraph.
    QVERIFY2(std::abs(at->x() + drawn.width() / 2 - shown.Screen.width() / 2) < 20, qPrintable(QString::number(at->x())));
  }

  // The book's own nodes whose pages hold the figures asked for: a screenshot
  // of each for a look, and the figure on screen.
  void bookNodeShowsItsFigure_data() {
    QTest::addColumn<QString>("figure");
    for (const char* name : {"seq_limit", "func_limit", "monotone_sup", "intermediate_value", "discontinuities"})
      QTest::newRow(name) << QString("fig/%1.png").arg(name);
  }
  void bookNodeShowsItsFigure() {
    QFETCH(QString, figure);
    // The node whose page holds the figure; one that names a place in it if any does.
    lemmix::TPathName* node = nullptr;
    lemmix::WalkBook(*lemmix_->Context().Book, {}, [&](lemmix::TPathName& n, int) {
      const std::string& reference = n.Lines[lemmix::kHtmlLine];
      if (reference.empty() || (node && node->Lines[lemmix::kHtmlLine].find('#') != std::string::npos)) return true;
      QFile file(BookFile(QString::fromStdString(reference).section('#', 0, 0)));
      if (file.open(QIODevice::ReadOnly) && file.readAll().contains(("src=\"" + figure + "\"").toUtf8())) node = &n;
      return true;
    });
    if (!node) QSKIP(qPrintable(figure + " is on no page of a node"));
    const Shown shown = ShowNode(*node, figure, "html-window-" + QFileInfo(figure).baseName());
    QCOMPARE(shown.Fragment, QString::fromStdString(node->Lines[lemmix::kHtmlLine]).section('#', 1));
    QVERIFY2(shown.FigureTop >= 0, qPrintable(figure + " is not in the document"));
    QVERIFY2(Find(shown.Screen, QImage(BookFile(figure)), shown.FigureTop, shown.FigureTop + 40),
             qPrintable(figure + " is not drawn on screen"));
  }

 private:
  // A node with nothing but its page.
  struct PageNode : lemmix::TPathName {
    explicit PageNode(const std::string& page) {
      Lines.resize(lemmix::kHeaderLines);
      Lines[lemmix::kHtmlLine] = page;
    }
    bool Load() override { return false; }
    bool Save() override { return true; }
  };

  // What the window showed of a node's page, with the figure scrolled into view.
  struct Shown {
    QString Text;
    QString Fragment;
    int ScrolledTo = -1;  // where the place put the page, before the figure was scrolled to
    int FigureTop = -1;   // the top of the figure's block in the viewport
    QImage Screen;        // the viewport
  };

  Shown ShowNode(lemmix::TPathName& node, const QString& figure, const QString& screenName) {
    lemmix::THtmlForm& html = lemmix_->HtmlForm();
    QTextBrowser* browser = html.Browser();
    Shown shown;
    OnNextModal([&](QWidget* modal) {
      QTest::qWait(50);
      shown.Text = browser->toPlainText();
      shown.Fragment = browser->source().fragment();
      shown.ScrolledTo = browser->verticalScrollBar()->value();
      for (const Picture& picture : Pictures(*browser->document()))
        if (picture.Source == figure && shown.FigureTop < 0) {
          const QTextBlock block = browser->document()->findBlock(picture.Position);
          const QRectF box = browser->document()->documentLayout()->blockBoundingRect(block);
          browser->verticalScrollBar()->setValue(int(box.top()) - 8);
          QTest::qWait(50);
          shown.FigureTop = int(box.top()) - browser->verticalScrollBar()->value();
        }
      shown.Screen = browser->viewport()->grab().toImage();
      SaveScreen(modal, screenName);
      modal->findChild<QAction*>("CloseAction")->trigger();
    });
    if (!html.Show(node)) qWarning("the node has no page");
    return shown;
  }

  QString BookFile(const QString& relative) const {
    return QString::fromStdString((dir_->Path() / "book").string()) + "/" + relative;
  }

  std::unique_ptr<lemmix::testing::TempDir> dir_;
  std::unique_ptr<ScopedWorkingDirectory> cwd_;
  std::unique_ptr<TLemmix> lemmix_;
};

QTEST_MAIN(BookFiguresGuiTest)
#include "book_figures_gui_test.moc"
