// The Help window as a reader uses it: the shape of the topic tree, the
// topic behind every node, what a click or a key shows, and the weapon and
// armour figures of the help texts against the inventory catalogue.

// standard
#include <algorithm>
#include <set>
#include <string>
#include <utility>

// Qt
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

// ours
#include "kestrin/core/catalogue.h"
#include "kestrin/windows/helpform.h"
#include "kestrin/windows/helptopics.h"
#include "kestrin/windows/windowset.h"
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/headerstrip.h"

using namespace kestrin;

namespace {

QString topicText(const QString& title)
{
    const help::Topic* topic = help::findTopic(title.toStdString());
    return topic ? QString::fromUtf8(topic->text) : QString();
}

bool hasTopic(const QTreeWidgetItem* item) { return help::findTopic(item->text(0).toStdString()); }

QString value(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

} // namespace

class HelpFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsHiddenAndEmpty();
    void treeHasItsShapeAndEveryTopic();
    void clickShowsTitleThenText();
    void groupsAndSharedTitles();
    void weaponTopicsAgreeWithTheCatalogue();
    void armourAndTraitTexts();
    void doneHidesAndKeepsTheTopic();

private:
    QTreeWidgetItem* node(const QStringList& path) const;
    void click(const QStringList& path);
    QList<QTreeWidgetItem*> leavesUnder(QTreeWidgetItem* item) const;

    THelpForm* form = nullptr;
    QTreeWidget* tree = nullptr;
    QTextEdit* pane = nullptr;
};

void HelpFormTest::init()
{
    form = new THelpForm;
    tree = form->findChild<QTreeWidget*>("TreeView1");
    pane = form->findChild<QTextEdit*>("RichEdit1");
    QVERIFY(tree && pane);
}

void HelpFormTest::cleanup() { delete form; }

QTreeWidgetItem* HelpFormTest::node(const QStringList& path) const
{
    for (QTreeWidgetItem* item : tree->findItems(path.last(), Qt::MatchExactly | Qt::MatchRecursive)) {
        QStringList found;
        for (const QTreeWidgetItem* up = item; up; up = up->parent())
            found.prepend(up->text(0));
        if (found == path)
            return item;
    }
    qFatal("no node %s", qPrintable(path.join(" > ")));
}

void HelpFormTest::click(const QStringList& path)
{
    if (!form->isVisible()) {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    QTreeWidgetItem* item = node(path);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{item});
}

QList<QTreeWidgetItem*> HelpFormTest::leavesUnder(QTreeWidgetItem* item) const
{
    QList<QTreeWidgetItem*> leaves;
    for (int i = 0; i < item->childCount(); ++i)
        leaves += item->child(i)->childCount() ? leavesUnder(item->child(i)) : QList{item->child(i)};
    return leaves;
}

void HelpFormTest::startsHiddenAndEmpty()
{
    QVERIFY(form->isHidden());
    QCOMPARE(form->windowTitle(), QString("Kestrin - Help me!"));
    QCOMPARE(form->findChild<kestrin::flat::HeaderStrip*>("Panel1")->title(), QString("Kestrin - Help me!"));
    QVERIFY(form->windowFlags().testFlag(Qt::Tool));
    QVERIFY(!form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(pane->isReadOnly());
    QCOMPARE(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(pane->toPlainText().isEmpty());
    QVERIFY(!help::findTopic("normal") && !help::findTopic("Pistols") && !help::findTopic(std::string(3, '\0')));
}

void HelpFormTest::treeHasItsShapeAndEveryTopic()
{
    QCOMPARE(tree->topLevelItemCount(), 9);
    QVERIFY(!tree->itemsExpandable() && !tree->rootIsDecorated());
    int nodes = 0, withChildren = 0, groups = 0;
    QIcon folder, page;
    std::set<std::string> nodeTexts, titles;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QTreeWidgetItem* item = *it;
        ++nodes;
        nodeTexts.insert(item->text(0).toStdString());
        QVERIFY2(!item->text(0).contains("[*]"), qPrintable(item->text(0)));
        const bool parent = item->childCount() > 0;
        QVERIFY(!parent || item->isExpanded());
        withChildren += parent;
        if (parent && !hasTopic(item))
            ++groups;
        QVERIFY2(parent || hasTopic(item), qPrintable("no topic for \"" + item->text(0) + '"'));
        // One folder picture for every parent, one page picture for every topic.
        QIcon& expected = parent ? folder : page;
        if (expected.isNull())
            expected = item->icon(0);
        QCOMPARE(item->icon(0).cacheKey(), expected.cacheKey());
    }
    QCOMPARE(nodes, 147);
    QCOMPARE(withChildren, 20);
    QCOMPARE(groups, 19); // "Heavy Weapons" under "Weapons" is the parent with a topic
    QVERIFY(!folder.isNull() && !page.isNull() && folder.cacheKey() != page.cacheKey());
    QCOMPARE(node({"Inventory", "Weapons", "Heavy Weapons"})->childCount(), 2);
    QCOMPARE(node({"General"})->child(0)->text(0), QString()); // the welcome page
    node({"Personality", "Normal "});
    node({"Personality", "Claustrophobic"});

    // Titles are unique, and every topic has a node that shows it.
    for (const help::Topic& topic : help::topics()) {
        QVERIFY2(titles.insert(topic.title).second, topic.title);
        QVERIFY2(nodeTexts.count(topic.title) && *topic.text, topic.title);
    }
}

void HelpFormTest::clickShowsTitleThenText()
{
    click({"Inventory", "Weapons", "Pistols", "Glock 17"});
    const QString glock17 = "Glock 17\n\n" + topicText("Glock 17");
    QCOMPARE(pane->toPlainText(), glock17);
    click({"Inventory", "Weapons", "Pistols", "Glock 17"});
    QCOMPARE(pane->toPlainText(), glock17); // replaced, not appended

    // The title in Arial 12 bold italic, the text (after the empty line) in Arial 10.
    const QTextBlock title = pane->document()->firstBlock();
    for (const auto& [block, points, heading] : {std::tuple{title, 12.0, true}, {title.next().next(), 10.0, false}}) {
        const QTextCharFormat format = block.begin().fragment().charFormat();
        QVERIFY(format.fontFamilies().toStringList().contains("Arial"));
        QCOMPARE(format.fontPointSize(), points);
        QCOMPARE(format.fontWeight(), int(heading ? QFont::Bold : QFont::Normal));
        QCOMPARE(format.fontItalic(), heading);
    }

    // A click and a key each fill the pane once: the text changes as often
    // for one as for the other.
    int changes = 0;
    connect(pane, &QTextEdit::textChanged, form, [&changes] { ++changes; });
    click({"Inventory", "Weapons", "Pistols", "Glock 18"});
    QCOMPARE(pane->toPlainText(), "Glock 18\n\n" + topicText("Glock 18"));
    const int byClick = std::exchange(changes, 0);
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(pane->toPlainText(), "Beretta 92F\n\n" + topicText("Beretta 92F"));
    QVERIFY(changes > 0);
    QCOMPARE(byClick, changes);
}

void HelpFormTest::groupsAndSharedTitles()
{
    click({"Inventory", "Weapons", "Pistols"});
    QVERIFY(pane->toPlainText().isEmpty());
    click({"Appearance", "Voice"});
    click({"Inventory", "Weapons", "Pistols"});
    QCOMPARE(pane->toPlainText(), "Voice\n\nChoose from three male and three female voices.");

    // The weapon group "Heavy Weapons" shows the trait of the same title.
    click({"Inventory", "Weapons", "Heavy Weapons"});
    const QString heavy = pane->toPlainText();
    QVERIFY(heavy.contains("15%") && heavy.contains("heavy weapons"));
    click({"Traits", "Heavy Weapons"});
    QCOMPARE(pane->toPlainText(), heavy);

    click({"Personality", "Normal "});
    const QString personality = pane->toPlainText();
    click({"Attitude", "Normal"});
    QVERIFY(pane->toPlainText() != personality);
    QCOMPARE(topicText("Loner"), topicText("Arrogant"));
}

void HelpFormTest::weaponTopicsAgreeWithTheCatalogue()
{
    // Two weapons are spelled differently in the tree and in the weapon panel.
    const QHash<QString, QString> panelName = {{"C7 / M16A2", "C-7 / M16A2"}, {"Type-85", "Type 85"}};
    const char* labels[9] = {"Caliber:", "Capability:", "Weight(kg):", "Weight(lb):", "Damage:",
                             "Range:", "AP:", "Burst:", "AP burst:"};
    const QList<QTreeWidgetItem*> weapons = leavesUnder(node({"Inventory", "Weapons"}));
    QCOMPARE(weapons.size(), int(catalogue::weapons().size()) - 1); // every weapon but "None"
    for (const QTreeWidgetItem* item : weapons) {
        const QString title = item->text(0);
        const QStringList lines = topicText(title).split('\n');
        QVERIFY2(lines.size() == 29 && lines[0] == "Game description:" && !lines[1].isEmpty(), qPrintable(title));
        const catalogue::WeaponEntry* entry = nullptr;
        for (const catalogue::WeaponEntry& e : catalogue::weapons())
            if (value(e.display.name).replace("&&", "&") == panelName.value(title, title))
                entry = &e;
        QVERIFY2(entry, qPrintable("not in the catalogue: " + title));
        const catalogue::WeaponDisplay& d = entry->display;
        const char* shown[9] = {d.caliber, d.capability, d.weightKg, d.weightLb, d.damage,
                                d.range,   d.ap,         d.burst,    d.apBurst};
        for (int i = 0; i < 9; ++i) {
            const QString where = title + ' ' + labels[i], help = lines[4 + 3 * i];
            QVERIFY2(lines[2 + 3 * i].isEmpty() && lines[3 + 3 * i] == labels[i] && !help.isEmpty(), qPrintable(where));
            if (!value(shown[i]).isEmpty())
                QVERIFY2(help == value(shown[i]), qPrintable(where + ": help " + help + ", panel " + shown[i]));
        }
    }
}

void HelpFormTest::armourAndTraitTexts()
{
    // Tree titles and catalogue names differ in letter case only ("Flak Jacket").
    const auto checkArmour = [this](const char* group, std::span<const catalogue::ArmourEntry> entries) {
        const QList<QTreeWidgetItem*> items = leavesUnder(node({"Inventory", group}));
        QCOMPARE(items.size(), int(entries.size()) - 1); // "None" has no topic
        for (const catalogue::ArmourEntry& entry : entries) {
            if (entry.item == 0)
                continue;
            const auto it = std::find_if(items.begin(), items.end(), [&](const QTreeWidgetItem* item) {
                return item->text(0).compare(value(entry.shown), Qt::CaseInsensitive) == 0;
            });
            QVERIFY2(it != items.end(), entry.shown);
            QCOMPARE(topicText((*it)->text(0)), QString("Adds %1% to your armor-class.").arg(entry.armour));
        }
    };
    checkArmour("Helmet", catalogue::helmets());
    checkArmour("Vest", catalogue::vests());
    QCOMPARE(topicText("Ceramic plates"), QString("They add %1% to your armor-class.").arg(catalogue::kCeramicArmour));

    const QStringList notForExperts = {"Lockpicking", "Electronics", "Ambidextrous"};
    const QList<QTreeWidgetItem*> traits = leavesUnder(node({"Traits"}));
    QCOMPARE(traits.size(), 15);
    for (const QTreeWidgetItem* trait : traits) {
        const bool marked = topicText(trait->text(0)).endsWith("\n\nIsn't applicable as expert-mode.");
        QVERIFY2(marked == notForExperts.contains(trait->text(0)), qPrintable(trait->text(0)));
    }
    QCOMPARE(topicText("None"), QString("This trait isn't anything at all."));

    for (const QTreeWidgetItem* attribute : leavesUnder(node({"Attributes"}))) {
        const QStringList parts = topicText(attribute->text(0)).split("\n\nImproving:\n");
        QVERIFY2(parts.size() == 2 && !parts[0].isEmpty() && !parts[1].isEmpty(), qPrintable(attribute->text(0)));
    }
}

void HelpFormTest::doneHidesAndKeepsTheTopic()
{
    click({"Name"});
    const QString shown = pane->toPlainText();
    QCOMPARE(shown, QString("Name\n\nJust put in the name and callsign you want your merc to have."));
    QTest::mouseClick(form->findChild<kestrin::flat::FlatSpeedButton*>("FlatSpeedButton1"), Qt::LeftButton);
    QVERIFY(form->isHidden());
    showOverMainWindow(form, nullptr);
    QVERIFY(form->isVisible());
    QCOMPARE(pane->toPlainText(), shown);
    QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{node({"Name"})});
}

QTEST_MAIN(HelpFormTest)
#include "test_helpform.moc"
