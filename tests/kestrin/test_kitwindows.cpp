// Kestrin's Inventory, Appearance and Portrait windows: the armour total,
// the ceramic plates, presets applied key by key, palette names and faces,
// and read-then-save round trips of every catalogue number, palette name
// and face through the windows.

// Qt
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QtTest>

// ours
#include "kestrin/inventory/catalogue.h"
#include "kestrin/profile/profilerecord.h"
#include "kestrin/windows/appearanceform.h"
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/portraitform.h"
#include "kestrin/windows/presetsform.h"
#include "kestrin/windows/windowset.h"
#include "platform/codepage.h"
#include "platform/scriptedplatform.h"
#include "tests/support/tempdir.h"
#include "widgets/flatspeedbutton.h"

using namespace kestrin;
using platform::Answer;
using platform::Buttons;
using Box = platform::ScriptedPlatform::Box;

class KitWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void armourTotalFollowsHelmetVestAndPlates();
    void choosingAWeaponKeepsTheAttachments();
    void presetAppliedKeyByKey();
    void presetPlatesWhileAlreadyChecked();
    void paletteNamesAreExact();
    void portraitFrameFollowsTheChoice();
    void readThenSaveKeepsEveryKnownValue();

private:
    TPresetsForm* presets() const { return app->windows().presets; }
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
    QCOMPARE(presets()->findChild<widgets::FlatSpeedButton*>("HelmetPanel")->text(), QString("  None"));
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
    QCOMPARE(ui->boxes().size(), std::size_t(1));
    QVERIFY(ui->boxes()[0].text.find("Trait1") != std::string::npos);
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
    TAppearanceForm* appearance = app->windows().appearance;
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
    TPortraitForm* portrait = app->windows().portrait;
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
    app->windows().main->readCustom();
    ui->answer(Answer::Ok); // "Well done."
    app->windows().main->saveCustom();
    return testsupport::readFile(file());
}

void KitWindowsTest::readThenSaveKeepsEveryKnownValue()
{
    std::string bytes = testsupport::patternBytes(600);
    testsupport::writeFile(file(), bytes);
    ui->chooseFile(file());
    app->windows().main->selectPath();

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
        for (std::string_view name : field.names) {
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

QTEST_MAIN(KitWindowsTest)
#include "test_kitwindows.moc"
