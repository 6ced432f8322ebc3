// Kestrin's Inventory, Appearance and Portrait windows: the item number
// that every menu entry saves and the menus and texts of every entry, all
// held to the kit's own tables (kittables.h), the armour total, the ceramic
// plates, presets applied key by key, palette names and faces, read-then-save
// round trips of every catalogue number, palette name and face through the
// windows, and windows made on first need against windows made at once.

// standard
#include <span>
#include <vector>

// Qt
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QtTest>

// ours
#include "kestrin/core/profilerecord.h"
#include "kestrin/windows/appearanceform.h"
#include "kestrin/windows/helpform.h"
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/nameform.h"
#include "kestrin/windows/portraitform.h"
#include "kestrin/windows/presetsform.h"
#include "kestrin/windows/windowset.h"
#include "platform/codepage.h"
#include "tests/kestrin/kittables.h"
#include "tests/support/scriptedplatform.h"
#include "tests/support/tempdir.h"
#include "kestrin/widgets/flatspeedbutton.h"

using namespace kestrin;
using platform::Answer;
using platform::Buttons;
using Box = platform::ScriptedPlatform::Box;

namespace {

/// What a window shows: its caption and size, then every named control with
/// its text, check, picture, visibility and enabling.
QStringList shownState(QWidget* window)
{
    QStringList state{QString("%1 %2x%3").arg(window->windowTitle()).arg(window->width()).arg(window->height())};
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty())
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(control))
            text = label->text() + (label->pixmap().isNull() ? "" : " [picture]");
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            text = button->text() + (button->isChecked() ? " [checked]" : "");
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            text = edit->text();
        else if (auto* list = qobject_cast<QListWidget*>(control))
            text = QString("%1 rows").arg(list->count());
        state << QString("%1 %2: %3%4%5")
                     .arg(control->metaObject()->className(), control->objectName(), text,
                          control->isVisibleTo(window) ? "" : " [hidden]", control->isEnabled() ? "" : " [disabled]");
    }
    return state;
}

} // namespace

class KitWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyChoiceSavesItsItemNumber();
    void menusAndPanelsShowTheKitTables();
    void armourTotalFollowsHelmetVestAndPlates();
    void choosingAWeaponKeepsTheAttachments();
    void presetAppliedKeyByKey();
    void presetPlatesWhileAlreadyChecked();
    void paletteNamesAreExact();
    void portraitFrameFollowsTheChoice();
    void readThenSaveKeepsEveryKnownValue();
    void windowsMadeOnFirstNeedMatchWindowsMadeAtOnce();

private:
    TPresetsForm* presets() const { return app->windows().presets(); }
    QString text(QWidget* window, const char* name) const
    {
        auto* label = window->findChild<QLabel*>(name);
        return label ? label->text() : QString("<no %1>").arg(name);
    }
    void trigger(QWidget* window, const char* action) const
    {
        auto* a = window->findChild<QAction*>(action);
        QVERIFY2(a, action);
        a->trigger();
    }
    std::string file() const { return dir->file("IMP.dat"); }
    /// Reads the file through the main window, saves it back, and returns the bytes.
    std::string readThenSave();

    testsupport::TempDir* dir = nullptr;
    platform::ScriptedPlatform* ui = nullptr;
    Application* app = nullptr;
};

void KitWindowsTest::init()
{
    dir = new testsupport::TempDir;
    ui = new platform::ScriptedPlatform("Kestrin 1.03", platform::LineBreak::CrLf);
    ui->setProgramFolder(dir->path());
    ui->setFailureHandler([](const std::string& what) { QFAIL(what.c_str()); });
    app = new Application(*ui, platform::CodePage::system());
}

void KitWindowsTest::cleanup()
{
    QCOMPARE(ui->pendingAnswers(), std::size_t(0));
    delete app;
    delete ui;
    delete dir;
}

void KitWindowsTest::everyChoiceSavesItsItemNumber()
{
    // The record's offsets of the slots; the ammunition fills 446-448.
    enum Slot { Vest = 426, Plates = 428, Weapon = 434, Mod1 = 436, Mod2 = 438, Ammo = 446, Helmet = 460 };
    struct Row {
        Slot slot;
        const char* choice; // the menu entry, or the plates' check box
        int item;
    };
    std::vector<Row> rows;
    for (const kittables::Weapon& w : kittables::kWeapons) {
        rows.push_back({Weapon, w.entry, w.item});
        rows.push_back({Ammo, w.entry, kittables::ammoOf(w)});
    }
    for (const kittables::Attachment& a : kittables::kAttachments) {
        rows.push_back({Mod1, a.entry1, a.item});
        rows.push_back({Mod2, a.entry2, a.item});
    }
    for (const kittables::Armour& h : kittables::kHelmets)
        rows.push_back({Helmet, h.entry, h.item});
    for (const kittables::Armour& v : kittables::kVests)
        rows.push_back({Vest, v.entry, v.item});
    rows.push_back({Plates, "CheckBox1", kittables::kCeramicPlates});

    testsupport::writeFile(file(), testsupport::profileBytes(600));
    ui->chooseFile(file());
    app->windows().main()->selectPath();
    app->profile().setName("Mara"); // so that a save asks nothing
    app->profile().setCallsign("Raven");
    for (const Row& row : rows) {
        const QString what = QString("%1 at %2").arg(row.choice).arg(int(row.slot));
        if (auto* box = presets()->findChild<QCheckBox*>(row.choice))
            box->click();
        else if (auto* entry = presets()->findChild<QAction*>(row.choice))
            entry->trigger();
        else
            QFAIL(qPrintable("no " + what));
        ui->answer(Answer::Ok); // "Well done."
        app->windows().main()->saveCustom();
        const std::string saved = testsupport::readFile(file());
        for (int offset = row.slot; offset <= (row.slot == Ammo ? Ammo + 2 : row.slot); ++offset)
            QVERIFY2(static_cast<unsigned char>(saved.at(offset)) == row.item, qPrintable(what));
    }
}

void KitWindowsTest::menusAndPanelsShowTheKitTables()
{
    // Each entry sits in its pop-up menu under the sub-menus of its path,
    // with its caption, and shows the table's texts once chosen.
    auto menuPath = [](QAction* action) {
        QStringList path;
        for (auto* menu = qobject_cast<QMenu*>(action ? action->parent() : nullptr); menu;
             menu = qobject_cast<QMenu*>(menu->parent()))
            path.prepend(menu->title().isEmpty() ? menu->objectName() : menu->title());
        return path;
    };
    auto entry = [this](const char* name) {
        QAction* action = presets()->findChild<QAction*>(name);
        if (!action)
            qWarning("no menu entry %s", name);
        return action;
    };
    // The label shows "&&" as one ampersand; the button's caption keeps it.
    auto label = [](const char* caption) { return QString(caption).replace("&&", "&"); };

    for (const kittables::Weapon& w : kittables::kWeapons) {
        QAction* action = entry(w.entry);
        QVERIFY2(action, w.entry);
        QCOMPARE(action->text(), QString(w.caption));
        const QStringList path = w.group ? QStringList{"WeaponPopup", w.group} : QStringList{"WeaponPopup"};
        QCOMPARE(menuPath(action), path);
        action->trigger();
        QCOMPARE(text(presets(), "WeaponName"), label(w.shown[0]));
        QCOMPARE(presets()->findChild<kestrin::flat::FlatSpeedButton*>("WeaponPanel")->text(), QString(w.shown[0]));
        const char* fields[] = {"WeaponCaliber", "WeaponCapability", "WeaponWeightKG", "WeaponWeightLB",
                                "WeaponDamage",  "WeaponRange",      "WeaponAP",       "WeaponBurst",
                                "WeaponAPBurst"};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(text(presets(), fields[i]), QString(w.shown[i + 1]));
    }
    for (const kittables::MenuGroup& g : kittables::kWeaponGroups)
        if (g.component)
            QCOMPARE(presets()->findChild<QMenu*>(g.component)->title(), QString(g.caption));

    for (const kittables::Attachment& a : kittables::kAttachments) {
        QAction* first = entry(a.entry1);
        QAction* second = entry(a.entry2);
        QVERIFY2(first && second, a.entry1);
        QCOMPARE(first->text(), QString(a.caption1));
        QCOMPARE(menuPath(first), QStringList("Modification1Popup"));
        QCOMPARE(second->text(), QString(a.caption2));
        QCOMPARE(menuPath(second), QStringList("Modification2Popup"));
        first->trigger();
        second->trigger();
        QCOMPARE(text(presets(), "WeaponModification1"), QString(a.shown));
        QCOMPARE(text(presets(), "WeaponModification2"), QString(a.shown));
    }

    struct Armour {
        std::span<const kittables::Armour> entries;
        std::span<const kittables::MenuGroup> groups;
        const char *popup, *name, *armour;
    };
    for (const Armour& kind : {Armour{kittables::kHelmets, kittables::kHelmetGroups, "HelmetPopup", "HelmetName", "HelmetArmor"},
                               Armour{kittables::kVests, kittables::kVestGroups, "VestPopup", "VestName", "VestArmor"}}) {
        for (const kittables::Armour& e : kind.entries) {
            QAction* action = entry(e.entry);
            QVERIFY2(action, e.entry);
            QStringList path{kind.popup};
            for (const char* part : e.path)
                if (part)
                    path << part;
            QCOMPARE(action->text(), path.takeLast());
            QCOMPARE(menuPath(action), path);
            action->trigger();
            QCOMPARE(text(presets(), kind.name), QString(e.shown));
            QCOMPARE(text(presets(), kind.armour), QString("+%1%").arg(e.armour));
        }
        for (const kittables::MenuGroup& g : kind.groups) {
            auto* menu = presets()->findChild<QMenu*>(g.component);
            QVERIFY2(menu, g.component);
            QCOMPARE(menu->title(), QString(g.caption));
        }
    }
    // The last vest chosen, no helmet, and the plates.
    QVERIFY(presets()->selectHelmet(0));
    presets()->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    QCOMPARE(text(presets(), "ArmorPanel"),
             QString("  Armor: %1%").arg(std::end(kittables::kVests)[-1].armour + kittables::kCeramicArmour));
}

void KitWindowsTest::armourTotalFollowsHelmetVestAndPlates()
{
    QCOMPARE(text(presets(), "ArmorPanel"), QString("  Armor:"));
    auto* plates = presets()->findChild<QCheckBox*>("CheckBox1");
    plates->setChecked(true); // no vest chosen: the plates still count
    QCOMPARE(app->profile().hidden(Hidden::Ceramic), 183);
    QCOMPARE(text(presets(), "ArmorPanel"), QString("  Armor: 19%"));

    QVERIFY(presets()->selectHelmet(180)); // Spectrahelmet, 12
    QVERIFY(presets()->selectVest(167));   // Spectravest, 38
    QCOMPARE(text(presets(), "ArmorPanel"), QString("  Armor: 69%"));
    plates->setChecked(false);
    QCOMPARE(text(presets(), "ArmorPanel"), QString("  Armor: 50%"));
    QCOMPARE(app->profile().hidden(Hidden::Ceramic), 0);

    trigger(presets(), "None2");
    QCOMPARE(text(presets(), "HelmetName"), QString("None"));
    QCOMPARE(presets()->findChild<kestrin::flat::FlatSpeedButton*>("HelmetPanel")->text(), QString("  None"));
    QCOMPARE(text(presets(), "HelmetArmor"), QString("+0%"));
    QCOMPARE(app->profile().hidden(Hidden::Helmet), 0);
    QVERIFY(!presets()->selectHelmet(183));
    QCOMPARE(text(presets(), "HelmetName"), QString("None"));
}

void KitWindowsTest::choosingAWeaponKeepsTheAttachments()
{
    trigger(presets(), "Bipod1");
    trigger(presets(), "Lasersight1");
    trigger(presets(), "HKMP5K1");
    QCOMPARE(text(presets(), "WeaponName"), QString("H&K MP5K"));
    QCOMPARE(text(presets(), "WeaponCaliber"), QString("9mm"));
    QCOMPARE(text(presets(), "WeaponModification1"), QString("Bipod"));
    QCOMPARE(text(presets(), "WeaponModification2"), QString("Laser Sight"));
    QCOMPARE(app->profile().hidden(Hidden::Weapon), 9);
    QCOMPARE(app->profile().hidden(Hidden::Ammo), 74);
    QCOMPARE(app->profile().hidden(Hidden::Modification1), 209);
    QCOMPARE(app->profile().hidden(Hidden::Modification2), 241);
    trigger(presets(), "LAw1");
    QCOMPARE(app->profile().hidden(Hidden::Ammo), 0);
    QCOMPARE(text(presets(), "WeaponDamage"), QString());
}

void KitWindowsTest::presetAppliedKeyByKey()
{
    testsupport::writeFile(dir->file("Presets.ini"),
                           "[Presets]\r\nAmount=2\r\n1=Sniper\r\n2=Broken\r\n"
                           "[Sniper]\r\nHealth=80\r\nAgility=70\r\nDexterity=75\r\nStrength=60\r\nLeadership=40\r\n"
                           "Wisdom=85\r\nMarksmanship=95\r\nMechanic=20\r\nExplosives=10\r\nMedical=30\r\n"
                           "Experience=4\r\nTrait1=2\r\nTrait2=11\r\nPersonality=1\r\nAttitude=2\r\n"
                           "SlotFirstHand=19\r\nSlotAttachment1_1=208\r\nSlotAttachment1_2=300\r\nSlotVest=170\r\n"
                           "SlotHelmet=177\r\nCeramicPlates=183\r\n"
                           "[Broken]\r\nHealth=50\r\nAgility=50\r\nDexterity=50\r\nStrength=50\r\n"
                           "Leadership=50\r\nWisdom=50\r\nMarksmanship=50\r\nMechanic=50\r\nExplosives=50\r\n"
                           "Medical=50\r\nExperience=3\r\nTrait1=20\r\n");
    presets()->show();
    auto* list = presets()->findChild<QListWidget*>("FlatListBox1");
    QCOMPARE(list->count(), 2);
    ui->answer(Answer::Ok);
    ui->answer(Answer::Ok);
    list->setCurrentRow(0);
    presets()->LoadPreset(list->item(0)->text());
    QCOMPARE(ui->boxes(), (std::vector<Box>{{"Unknown vest.", "Failure", Buttons::OkCancel},
                                            {"Unknown modification.", "Failure", Buttons::OkCancel}}));
    const Profile& p = app->profile();
    QCOMPARE(p.attributeText(Attribute::Marksmanship), std::string("95"));
    QCOMPARE(p.trait1Code(), 3); // line 2 is "Electronics [*]"
    QCOMPARE(p.trait2Code(), 4); // line 11 is "Nightops"
    QCOMPARE(p.hidden(Hidden::Vest), 170); // kept, though unknown
    QCOMPARE(text(presets(), "VestName"), QString(" "));
    QCOMPARE(text(presets(), "HelmetName"), QString("Kevlarhelmet"));
    QCOMPARE(text(presets(), "WeaponName"), QString("M-24"));
    QCOMPARE(p.hidden(Hidden::Ammo), 101);
    QVERIFY(presets()->findChild<QCheckBox*>("CheckBox1")->isChecked());

    // A line outside its list stops the preset with an error.
    ui->clearRecord();
    ui->answer(Answer::Ok);
    presets()->LoadPreset("Broken");
    QCOMPARE(ui->boxes(), (std::vector<Box>{{"Trait1 = 20 is not a line of its list (0 to 14).", "Kestrin 1.03",
                                             Buttons::Ok}}));
    QCOMPARE(p.trait1Code(), 3);
}

void KitWindowsTest::presetPlatesWhileAlreadyChecked()
{
    testsupport::writeFile(dir->file("Presets.ini"),
                           "[Presets]\r\nAmount=1\r\n1=Plates\r\n[Plates]\r\nHealth=50\r\nAgility=50\r\nDexterity=50\r\n"
                           "Strength=50\r\nLeadership=50\r\nWisdom=50\r\nMarksmanship=50\r\nMechanic=50\r\n"
                           "Explosives=50\r\nMedical=50\r\nExperience=3\r\nTrait1=0\r\nTrait2=0\r\nPersonality=0\r\n"
                           "Attitude=0\r\nSlotFirstHand=0\r\nSlotAttachment1_1=0\r\nSlotAttachment1_2=0\r\n"
                           "SlotVest=0\r\nSlotHelmet=0\r\nCeramicPlates=183\r\n");
    auto* plates = presets()->findChild<QCheckBox*>("CheckBox1");
    plates->setChecked(true);
    presets()->LoadPreset("Plates");
    QVERIFY(plates->isChecked());
    QCOMPARE(app->profile().hidden(Hidden::Ceramic), 183);
    QCOMPARE(text(presets(), "ArmorPanel"), QString("  Armor: 19%"));
}

void KitWindowsTest::paletteNamesAreExact()
{
    TAppearanceForm* appearance = app->windows().appearance();
    trigger(appearance, "Redbrown1");
    QCOMPARE(app->profile().palette(Palette::Hair), std::string("redbrown"));
    QCOMPARE(appearance->valueLabel(Palette::Hair)->text(), QString("redbrown"));
    trigger(appearance, "Grey1");
    QCOMPARE(app->profile().palette(Palette::Vest), std::string("greyVEST"));
    QVERIFY(!appearance->selectColor(Palette::Hair, "REDBROWN"));
    QVERIFY(!appearance->selectColor(Palette::Skin, "tanskin"));
    QVERIFY(appearance->selectColor(Palette::Skin, "TANSKIN"));
    QCOMPARE(appearance->valueLabel(Palette::Skin)->text(), QString("TANSKIN"));
}

void KitWindowsTest::portraitFrameFollowsTheChoice()
{
    TPortraitForm* portrait = app->windows().portrait();
    QVERIFY(portrait->frame(0)->isVisibleTo(portrait));
    portrait->show();
    QTest::mouseClick(portrait->face(15), Qt::LeftButton);
    QCOMPARE(app->profile().hidden(Hidden::Portrait), 15);
    for (int k = 0; k < 16; ++k)
        QCOMPARE(portrait->frame(k)->isVisible(), k == 15);
    portrait->ShowPortrait(16); // no such face
    QCOMPARE(app->profile().hidden(Hidden::Portrait), 15);
}

std::string KitWindowsTest::readThenSave()
{
    app->windows().main()->readCustom();
    ui->answer(Answer::Ok); // "Well done."
    app->windows().main()->saveCustom();
    return testsupport::readFile(file());
}

void KitWindowsTest::readThenSaveKeepsEveryKnownValue()
{
    std::string bytes = testsupport::profileBytes(600);
    testsupport::writeFile(file(), bytes);
    ui->chooseFile(file());
    app->windows().main()->selectPath();

    auto check = [&](int offset, int value) {
        bytes = testsupport::readFile(file());
        bytes[offset] = static_cast<char>(value);
        testsupport::writeFile(file(), bytes);
        const std::string after = readThenSave();
        QCOMPARE(int(static_cast<unsigned char>(after[offset])), value);
    };
    for (const kittables::Weapon& w : kittables::kWeapons) {
        check(record::kInventoryOffsets[int(Hidden::Weapon)], w.item);
        QCOMPARE(app->profile().hidden(Hidden::Ammo), kittables::ammoOf(w));
    }
    for (const kittables::Attachment& a : kittables::kAttachments) {
        check(record::kInventoryOffsets[int(Hidden::Modification1)], a.item);
        check(record::kInventoryOffsets[int(Hidden::Modification2)], a.item);
    }
    for (const kittables::Armour& h : kittables::kHelmets)
        check(record::kInventoryOffsets[int(Hidden::Helmet)], h.item);
    for (const kittables::Armour& v : kittables::kVests)
        check(record::kInventoryOffsets[int(Hidden::Vest)], v.item);
    for (int face = 0; face < 16; ++face)
        check(record::kPortrait, face);

    // Every palette name comes back and is written back with its terminators.
    for (const record::PaletteField& field : record::kPaletteFields) {
        for (const record::PaletteEntry& colour : field.colours) {
            const std::string_view name = colour.name;
            bytes = testsupport::readFile(file());
            bytes.replace(field.offset, name.size(), name);
            bytes.replace(field.offset + name.size(), 3, std::string(3, '\0'));
            testsupport::writeFile(file(), bytes);
            const std::string after = readThenSave();
            QCOMPARE(after.substr(field.offset, name.size() + 3), bytes.substr(field.offset, name.size() + 3));
            QCOMPARE(app->profile().palette(field.palette), std::string(name));
        }
    }
}

void KitWindowsTest::windowsMadeOnFirstNeedMatchWindowsMadeAtOnce()
{
    // A profile with a face, four colours and a whole kit, and a preset that
    // changes the kit again; every catalogue number is a known one.
    std::string bytes = testsupport::profileBytes(600);
    bytes[record::kPortrait] = 9;
    for (int cell = 0; cell < record::kNameCells; ++cell)
        bytes[record::kName + 2 * cell] = cell < 4 ? "Mara"[cell] : '\0';
    for (int cell = 0; cell < record::kCallsignCells; ++cell)
        bytes[record::kCallsign + 2 * cell] = cell < 5 ? "Raven"[cell] : '\0';
    for (const record::PaletteField& field : record::kPaletteFields) {
        const std::string_view name = field.colours.back().name;
        bytes.replace(field.offset, name.size(), name);
        bytes.replace(field.offset + name.size(), 3, std::string(3, '\0'));
    }
    const std::pair<Hidden, int> kit[] = {{Hidden::Weapon, 19},   {Hidden::Modification1, 208},
                                          {Hidden::Modification2, 209}, {Hidden::Helmet, 178},
                                          {Hidden::Vest, 162},    {Hidden::Ceramic, 183}};
    for (const auto& [slot, item] : kit)
        bytes[record::kInventoryOffsets[int(slot)]] = static_cast<char>(item);
    testsupport::writeFile(dir->file("Presets.ini"),
                           "[Presets]\r\nAmount=1\r\n1=Scout\r\n[Scout]\r\nHealth=70\r\nAgility=80\r\n"
                           "Dexterity=60\r\nStrength=50\r\nLeadership=40\r\nWisdom=65\r\nMarksmanship=75\r\n"
                           "Mechanic=20\r\nExplosives=10\r\nMedical=30\r\nExperience=2\r\nTrait1=1\r\nTrait2=3\r\n"
                           "Personality=2\r\nAttitude=4\r\nSlotFirstHand=9\r\nSlotAttachment1_1=207\r\n"
                           "SlotAttachment1_2=0\r\nSlotVest=164\r\nSlotHelmet=0\r\nCeramicPlates=0\r\n");

    struct Outcome {
        std::string afterRead, afterPreset;
        std::vector<QStringList> windows;
        std::vector<QPoint> places;
    };
    const char* openers[] = {"FlatSpeedButton25", "FlatSpeedButton24", "FlatSpeedButton23", "FlatSpeedButton27"};
    // Reads, saves, applies the preset (its window never shown) and saves
    // again; then opens the four windows and takes what they show.
    auto run = [&](Application& a, bool openFirst) {
        testsupport::writeFile(file(), bytes);
        TMainForm* main = a.windows().main();
        main->show();
        ui->chooseFile(file());
        main->selectPath();
        auto open = [&] {
            for (const char* opener : openers)
                main->findChild<kestrin::flat::FlatSpeedButton*>(opener)->click();
        };
        if (openFirst) {
            open();
            for (QWidget* w : std::initializer_list<QWidget*>{a.windows().portrait(), a.windows().appearance(),
                                                               a.windows().presets(), a.windows().help()})
                w->hide(); // as "&Done" does
        }
        Outcome out;
        main->readCustom();
        ui->answer(Answer::Ok); // "Well done."
        main->saveCustom();
        out.afterRead = testsupport::readFile(file());
        a.windows().presets()->LoadPreset("Scout");
        ui->answer(Answer::Ok);
        main->saveCustom();
        out.afterPreset = testsupport::readFile(file());
        open();
        for (QWidget* w : std::initializer_list<QWidget*>{main, a.windows().name(), a.windows().portrait(),
                                                          a.windows().appearance(), a.windows().presets(),
                                                          a.windows().help()}) {
            out.windows.push_back(shownState(w));
            out.places.push_back(w->pos());
        }
        return out;
    };

    // Start-up makes only the main window and the Name window; the read makes
    // the three whose choices it performs, and "&Help me!" the Help window.
    const WindowSet& late = app->windows();
    QVERIFY(!late.portraitMade() && !late.appearanceMade() && !late.presetsMade() && !late.helpMade());
    const Outcome madeLate = run(*app, false);
    QVERIFY(late.portraitMade() && late.appearanceMade() && late.presetsMade() && late.helpMade());

    Application early(*ui, platform::CodePage::system());
    const Outcome madeFirst = run(early, true);

    QCOMPARE(madeLate.afterRead, madeFirst.afterRead);
    QCOMPARE(madeLate.afterPreset, madeFirst.afterPreset);
    QCOMPARE(static_cast<unsigned char>(madeLate.afterPreset[record::kPortrait]), 9); // the read's face, kept
    for (std::size_t i = 0; i < madeFirst.windows.size(); ++i) {
        QCOMPARE(madeLate.windows[i], madeFirst.windows[i]);
        QCOMPARE(madeLate.places[i], madeFirst.places[i]);
    }
    // The Presets and Help windows open centred on the desktop, made late or not.
    const QPoint desktopCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QCOMPARE(madeLate.places[4], desktopCentre - app->windows().presets()->rect().center());
    QCOMPARE(madeLate.places[5], desktopCentre - app->windows().help()->rect().center());
    QVERIFY(madeLate.windows[2].contains("QLabel Pic10:  [picture]"));
    QVERIFY(madeLate.windows[4].contains("QCheckBox CheckBox1: Ceramic plates attached"));
}

QTEST_MAIN(KitWindowsTest)
#include "test_kitwindows.moc"
