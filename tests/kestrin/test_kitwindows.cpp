// Kestrin's Inventory, Appearance and Portrait windows: the item number
// that every menu entry saves, the armour total, the ceramic plates,
// presets applied key by key, palette names and faces, read-then-save
// round trips of every catalogue number, palette name and face through the
// windows, and windows made on first need against windows made at once.

// Qt
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QtTest>

// ours
#include "kestrin/core/catalogue.h"
#include "kestrin/core/profilerecord.h"
#include "kestrin/windows/appearanceform.h"
#include "kestrin/windows/helpform.h"
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/nameform.h"
#include "kestrin/windows/portraitform.h"
#include "kestrin/windows/presetsform.h"
#include "kestrin/windows/windowset.h"
#include "platform/codepage.h"
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
    ui = new platform::ScriptedPlatform("Kestrin 1.03");
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
    // clang-format off
    const Row rows[] = {
        {Weapon, "None5", 0},              {Ammo, "None5", 0},
        {Weapon, "Glock171", 1},           {Ammo, "Glock171", 74},
        {Weapon, "Glock181", 2},           {Ammo, "Glock181", 74},
        {Weapon, "Beretta92F1", 3},        {Ammo, "Beretta92F1", 74},
        {Weapon, "Beretta93R1", 4},        {Ammo, "Beretta93R1", 74},
        {Weapon, "N38Specail1", 5},        {Ammo, "N38Specail1", 78},
        {Weapon, "Barracuda1", 6},         {Ammo, "Barracuda1", 89},
        {Weapon, "DesertEagle1", 7},       {Ammo, "DesertEagle1", 89},
        {Weapon, "Colt451", 8},            {Ammo, "Colt451", 83},
        {Weapon, "AutomagIII1", 56},       {Ammo, "AutomagIII1", 101},
        {Weapon, "DartGun1", 61},          {Ammo, "DartGun1", 114},
        {Weapon, "HKMP5K1", 9},            {Ammo, "HKMP5K1", 74},
        {Weapon, "MAC101", 10},            {Ammo, "MAC101", 83},
        {Weapon, "ThompsonM1A11", 11},     {Ammo, "ThompsonM1A11", 83},
        {Weapon, "ColtCommando1", 12},     {Ammo, "ColtCommando1", 94},
        {Weapon, "HKMP531", 13},           {Ammo, "HKMP531", 94},
        {Weapon, "AKSU741", 14},           {Ammo, "AKSU741", 92},
        {Weapon, "FNP901", 15},            {Ammo, "FNP901", 105},
        {Weapon, "Type851", 16},           {Ammo, "Type851", 97},
        {Weapon, "Dragunov1", 18},         {Ammo, "Dragunov1", 97},
        {Weapon, "M241", 19},              {Ammo, "M241", 101},
        {Weapon, "SteyrAUG1", 20},         {Ammo, "SteyrAUG1", 94},
        {Weapon, "HKG411", 21},            {Ammo, "HKG411", 94},
        {Weapon, "C7M16A21", 23},          {Ammo, "C7M16A21", 94},
        {Weapon, "FAMAS1", 24},            {Ammo, "FAMAS1", 94},
        {Weapon, "AK741", 25},             {Ammo, "AK741", 92},
        {Weapon, "AKM1", 26},              {Ammo, "AKM1", 92},
        {Weapon, "M141", 27},              {Ammo, "M141", 101},
        {Weapon, "FNFAL1", 28},            {Ammo, "FNFAL1", 101},
        {Weapon, "HKG3A31", 29},           {Ammo, "HKG3A31", 101}, // 7.62mm NATO, as its caliber says
        {Weapon, "HKG111", 30},            {Ammo, "HKG111", 104},
        {Weapon, "RemingtonM8701", 31},    {Ammo, "RemingtonM8701", 107},
        {Weapon, "SPAS151", 32},           {Ammo, "SPAS151", 107},
        {Weapon, "CAWS1", 33},             {Ammo, "CAWS1", 109},
        {Weapon, "SKS1", 17},              {Ammo, "SKS1", 97},     // 7.62mm WP, as its caliber says
        {Weapon, "RugerMini141", 22},      {Ammo, "RugerMini141", 94},
        {Weapon, "FNMinimi1", 34},         {Ammo, "FNMinimi1", 94},
        {Weapon, "RPK741", 35},            {Ammo, "RPK741", 92},
        {Weapon, "HK211", 36},             {Ammo, "HK211", 101},
        {Weapon, "normal1", 55},           {Ammo, "normal1", 113},
        {Weapon, "auto1", 65},             {Ammo, "auto1", 113},
        {Weapon, "LAw1", 51},              {Ammo, "LAw1", 0},
        {Weapon, "Mortar1", 41},           {Ammo, "Mortar1", 140},
        {Mod1, "None4", 0},                {Mod2, "None3", 0},
        {Mod1, "Laserpointer1", 241},      {Mod2, "Lasersight1", 241},
        {Mod1, "SniperScope1", 208},       {Mod2, "SniperScope2", 208},
        {Mod1, "Silencer1", 207},          {Mod2, "Silencer2", 207},
        {Mod1, "Bipod1", 209},             {Mod2, "Bipod2", 209},
        {Mod1, "Duckbill1", 244},          {Mod2, "Duckbill2", 244},
        {Mod1, "Talon1", 50},              {Mod2, "Talon2", 50},
        {Helmet, "None2", 0},              {Helmet, "Steelhelmet1", 176},
        {Helmet, "Kevlarhelmet1", 177},    {Helmet, "Spectrahelmet1", 180},
        {Helmet, "KevlarHelmet2", 178},    {Helmet, "Spectrahelmet2", 181},
        {Helmet, "Kevlarhelmet3", 179},    {Helmet, "Spectrahelmet3", 182},
        {Vest, "None1", 0},                {Vest, "Splitterschutzweste1", 161},
        {Vest, "Kevlarvest1", 164},        {Vest, "GuardianVest1", 197},
        {Vest, "Spectravest1", 167},       {Vest, "Splitterschutzweste2", 162},
        {Vest, "Kevlarweste1", 165},       {Vest, "Gu1", 198},
        {Vest, "Spectravest2", 168},       {Vest, "Splitterschutzweste3", 163},
        {Vest, "Kevlarvest2", 166},        {Vest, "Guardianvest2", 199},
        {Vest, "Spectravest3", 169},       {Plates, "CheckBox1", 183},
    };
    // clang-format on

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
    for (const auto& w : catalogue::weapons()) {
        check(record::kInventoryOffsets[int(Hidden::Weapon)], w.weapon);
        QCOMPARE(app->profile().hidden(Hidden::Ammo), w.ammo);
    }
    for (const auto& a : catalogue::attachments()) {
        check(record::kInventoryOffsets[int(Hidden::Modification1)], a.item);
        check(record::kInventoryOffsets[int(Hidden::Modification2)], a.item);
    }
    for (const auto& h : catalogue::helmets())
        check(record::kInventoryOffsets[int(Hidden::Helmet)], h.item);
    for (const auto& v : catalogue::vests())
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
