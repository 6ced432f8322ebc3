#include "kestrin/windows/helpform.h"

// standard
#include <vector>

// Qt
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

// ours
#include "kestrin/windows/helptopics.h"
#include "kestrin/windows/windowset.h"
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/flatstyle.h"
#include "kestrin/widgets/headerstrip.h"

namespace kestrin {

namespace {

constexpr int kTreeWidth = 240;
constexpr QSize kWindowSize(700, 480);

QColor rgb(QRgb value) { return QColor::fromRgba(value); }

// The two 16 x 16 pictures of the tree (ImageList1): a folder for groups and
// a page for topics, drawn here rather than shipped as files.

QIcon folderIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor edge = rgb(flat::flatcolor::accent).darker(130);
    // The tab, then the body over it.
    p.setPen(edge);
    p.setBrush(rgb(flat::flatcolor::pressed));
    p.drawRect(1, 3, 6, 2);
    p.setBrush(rgb(flat::flatcolor::hover));
    p.drawRect(1, 5, 13, 9);
    p.setPen(rgb(flat::flatcolor::field));
    p.drawLine(2, 6, 13, 6); // a light edge along the top of the body
    return QIcon(pixmap);
}

QIcon pageIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor edge = rgb(flat::flatcolor::border);
    // A sheet with its top right corner folded down.
    const QPoint sheet[] = {{3, 1}, {9, 1}, {12, 4}, {12, 14}, {3, 14}};
    p.setPen(edge);
    p.setBrush(rgb(flat::flatcolor::field));
    p.drawPolygon(sheet, 5);
    p.drawLine(9, 1, 9, 4);
    p.drawLine(9, 4, 12, 4);
    // Lines of text.
    p.setPen(rgb(flat::flatcolor::accent));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(5, y, y == 12 ? 8 : 10, y);
    return QIcon(pixmap);
}

QTextCharFormat textFormat(int points, bool heading)
{
    QTextCharFormat format;
    // Arial where it exists; elsewhere Qt picks the nearest sans serif.
    format.setFontFamilies({QStringLiteral("Arial")});
    format.setFontStyleHint(QFont::SansSerif);
    format.setFontPointSize(points);
    format.setFontWeight(heading ? QFont::Bold : QFont::Normal);
    format.setFontItalic(heading);
    return format;
}

} // namespace

THelpForm::THelpForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("HelpForm");
    setWindowTitle("Kestrin - Help me!");
    // The look first: the controls made below take it as they are made.
    flat::applyFlatStyle(this);
    // The tree's rows are highlighted across their indentation too, and the
    // pane stays white whatever the window's palette.
    setStyleSheet(flat::flatStyleSheet() + QStringLiteral(R"(
QTreeView { show-decoration-selected: 1; outline: 0; }
QTreeView::branch { background: transparent; image: none; border-image: none; }
QTreeView::branch:hover { background: %1; }
QTreeView::branch:selected { background: %2; }
QTextEdit#RichEdit1 { background: %3; }
)")
                      .arg(rgb(flat::flatcolor::hover).name(), rgb(flat::flatcolor::accent).name(),
                           rgb(flat::flatcolor::field).name()));
    tree_ = new QTreeWidget(this);
    pane_ = new QTextEdit(this);

    auto* header = new flat::HeaderStrip("Kestrin - Help me!", this);
    header->setObjectName("Panel1");

    tree_->setObjectName("TreeView1");
    tree_->setFixedWidth(kTreeWidth);
    tree_->setColumnCount(1);
    tree_->header()->hide();
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setAllColumnsShowFocus(true);
    tree_->setItemsExpandable(false);
    tree_->setRootIsDecorated(false);
    tree_->setExpandsOnDoubleClick(false);
    tree_->setIndentation(16);
    tree_->setIconSize(QSize(16, 16));
    tree_->setMouseTracking(true);
    tree_->viewport()->setAttribute(Qt::WA_Hover);
    buildTree();

    pane_->setObjectName("RichEdit1");
    pane_->setReadOnly(true);
    pane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pane_->setLineWrapMode(QTextEdit::WidgetWidth);
    pane_->setUndoRedoEnabled(false);

    auto* done = new flat::FlatSpeedButton("&Done", this);
    done->setObjectName("FlatSpeedButton1");
    connect(done, &flat::FlatSpeedButton::clicked, this, &QWidget::hide);

    auto* panes = new QHBoxLayout;
    panes->setSpacing(8);
    panes->addWidget(tree_);
    panes->addWidget(pane_, 1);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 0);
    body->setSpacing(8);
    body->addLayout(panes, 1);
    body->addWidget(done, 0, Qt::AlignRight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addLayout(body, 1);

    setFixedSize(kWindowSize);
    centreOnScreen(this);

    // A click selects its node, and so does the keyboard: the selection
    // alone fills the pane, once per choice.
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &THelpForm::showSelected);
}

void THelpForm::buildTree()
{
    const QIcon folder = folderIcon();
    const QIcon page = pageIcon();
    // The last node seen at each depth: a node's parent is the one a level up.
    std::vector<QTreeWidgetItem*> path;
    for (const help::TreeNode& node : help::tree()) {
        const auto depth = static_cast<std::size_t>(node.depth);
        if (depth > path.size())
            continue; // a node without a parent: skipped rather than misplaced
        path.resize(depth);
        auto* item = depth == 0 ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(path.back());
        item->setText(0, QString::fromUtf8(node.text));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        path.push_back(item);
    }
    // Pictures once the shape is known: a folder for every node with children.
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        (*it)->setIcon(0, (*it)->childCount() > 0 ? folder : page);
    tree_->expandAll();
}

void THelpForm::showSelected()
{
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty())
        return;
    const help::Topic* topic = help::findTopic(selected.first()->text(0).toStdString());
    if (!topic)
        return; // a group: the pane keeps what it shows

    const QTextCharFormat titleFormat = textFormat(12, true);
    const QTextCharFormat bodyFormat = textFormat(10, false);
    pane_->clear();
    QTextCursor cursor(pane_->document());
    cursor.setBlockCharFormat(titleFormat);
    cursor.insertText(QString::fromUtf8(topic->title), titleFormat);
    cursor.insertBlock(QTextBlockFormat(), bodyFormat); // the empty line
    cursor.insertBlock(QTextBlockFormat(), bodyFormat);
    cursor.insertText(QString::fromUtf8(topic->text), bodyFormat);
    pane_->moveCursor(QTextCursor::Start);
}

} // namespace kestrin
