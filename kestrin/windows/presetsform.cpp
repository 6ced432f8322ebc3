#include "kestrin/windows/presetsform.h"

// standard
#include <map>
#include <string>

// Qt
#include <QCheckBox>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QShowEvent>

// ours
#include "kestrin/core/failurebox.h"
#include "kestrin/windows/guarded.h"
#include "platform/platform.h"
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/flatstyle.h"
#include "kestrin/widgets/headerstrip.h"
#include "widgets/jpegimage.h"
#include "kestrin/widgets/keyedpixmap.h"

namespace kestrin {

namespace {

// A caption's text as a label shows it: "&&" shows one ampersand, a single
// one marks the access letter and is not shown.
QString shown(const char* caption)
{
    QString text;
    for (const char* c = caption; *c; ++c) {
        if (*c == '&') {
            if (c[1] == '&')
                text += '&', ++c;
            continue;
        }
        text += QChar::fromLatin1(*c);
    }
    return text;
}

// Layout of the 681 x 441 client area.
constexpr int kDataLeft = 498, kDataValue = 596, kRow = 16;

const char* const kWeaponFieldNames[10] = {"WeaponName", "WeaponCaliber", "WeaponCapability", "WeaponWeightKG",
                                           "WeaponWeightLB", "WeaponDamage", "WeaponRange", "WeaponAP",
                                           "WeaponBurst", "WeaponAPBurst"};
const char* const kWeaponCaptions[10] = {"Name: ", "Caliber: ", "Capability: ", "Weight (kg): ", "Weight (lb): ",
                                         "Damage: ", "Range: ", "AP: ", "Burst (rounds): ", "AP burst: "};

QMenu* subMenu(QMenu* parent, const char* caption, std::span<const catalogue::MenuGroup> groups,
               std::map<std::string, QMenu*>& made, const std::string& key)
{
    if (auto it = made.find(key); it != made.end())
        return it->second;
    QMenu* menu = parent->addMenu(caption);
    for (const catalogue::MenuGroup& g : groups)
        if (std::string_view(g.caption) == caption)
            menu->setObjectName(g.component);
    made[key] = menu;
    return menu;
}

} // namespace

TPresetsForm::TPresetsForm(Profile& profile, platform::Platform& platform)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      profile_(profile), platform_(platform)
{
    setObjectName("PresetsForm");
    setWindowTitle("Kestrin - Inventory");
    setFixedSize(681, 441);
    flat::applyFlatStyle(this); // first: the controls made below take the look as they are made

    auto* header = new flat::HeaderStrip("Inventory", this);
    header->setObjectName("Panel1");
    header->setGeometry(0, 0, 681, header->sizeHint().height());

    auto* presetsLabel = new QLabel("Presets:", this);
    presetsLabel->setGeometry(10, 38, 150, 16);
    presetList_ = new QListWidget(this);
    presetList_->setObjectName("FlatListBox1");
    presetList_->setGeometry(10, 56, 160, 330);
    presetList_->setSelectionMode(QAbstractItemView::SingleSelection);
    presetList_->setUniformItemSizes(true);
    presetList_->setStyleSheet("QListWidget::item { height: 20px; }");
    connect(presetList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { LoadPreset(item->text()); });

    buildKit();
    buildData();

    auto* done = new flat::FlatSpeedButton("&Done", this);
    done->setObjectName("FlatSpeedButton1");
    done->setGeometry(681 - 106, 441 - 36, 96, 26);
    connect(done, &flat::FlatSpeedButton::clicked, this, &QWidget::hide);
}

QLabel* TPresetsForm::valueLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* TPresetsForm::buildKit()
{
    // The soldier, with one colour keyed out, and the slots around him.
    auto* soldier = new QLabel(this);
    soldier->setObjectName("Image1");
    if (auto image = widgets::decodeJpegResource(":/pictures/soldier.jpg"))
        soldier->setPixmap(flat::keyedPixmap(*image));
    soldier->setGeometry(290, 86, 90, 126);

    auto slot = [this](const char* name, QRect geometry, QMenu* menu) {
        auto* button = new flat::FlatSpeedButton(QString(), this);
        button->setObjectName(name);
        button->setGeometry(geometry);
        connect(button, &flat::FlatSpeedButton::clicked, this, [menu] { menu->popup(QCursor::pos()); });
        return button;
    };
    helmetPanel_ = slot("HelmetPanel", QRect(260, 44, 150, 24), armourMenu(true));
    weaponPanel_ = slot("WeaponPanel", QRect(184, 232, 150, 24), weaponMenu());
    modificationPanel_[0] = slot("Modification1Panel", QRect(184, 264, 150, 24), attachmentMenu(1));
    modificationPanel_[1] = slot("Modification2Panel", QRect(184, 296, 150, 24), attachmentMenu(2));
    vestPanel_ = slot("VestPanel", QRect(340, 232, 150, 24), armourMenu(false));

    // Decorative lines from the slots to the figure.
    const QRect lines[] = {QRect(334, 68, 1, 22), QRect(258, 150, 32, 1), QRect(258, 150, 1, 82),
                           QRect(380, 150, 36, 1)};
    int n = 1;
    for (const QRect& r : lines) {
        auto* line = new QFrame(this);
        line->setObjectName(QString("Shape%1").arg(n++));
        line->setFrameShape(r.width() == 1 ? QFrame::VLine : QFrame::HLine);
        line->setGeometry(r.adjusted(0, 0, r.width() == 1 ? 1 : 0, r.height() == 1 ? 1 : 0));
        line->setStyleSheet("background: #55604a;");
        line->setEnabled(false);
    }
    auto* frame = new flat::FlatSpeedButton(QString(), this);
    frame->setObjectName("FlatSpeedButton11");
    frame->setGeometry(184, 338, 306, 28);
    frame->setEnabled(false);
    armorPanel_ = valueLabel("ArmorPanel", this);
    armorPanel_->setText("  Armor:");
    armorPanel_->setGeometry(186, 340, 300, 24);
    QFont bold = armorPanel_->font();
    bold.setBold(true);
    armorPanel_->setFont(bold);
    armorHelmet_ = valueLabel("ArmorHelmet", this);
    armorHelmet_->setText("0");
    armorHelmet_->hide();
    armorVest_ = valueLabel("ArmorVest", this);
    armorVest_->setText("0");
    armorVest_->hide();

    ceramic_ = new QCheckBox("Ceramic plates attached", this);
    ceramic_->setObjectName("CheckBox1");
    ceramic_->setGeometry(184, 374, 220, 20);
    // toggled fires on a real change only, by a click or by code alike.
    connect(ceramic_, &QCheckBox::toggled, this, [this](bool checked) {
        profile_.setHidden(Hidden::Ceramic, checked ? catalogue::kCeramicPlates : 0);
        RefreshArmorTotal();
    });
    return soldier;
}

QWidget* TPresetsForm::buildData()
{
    int y = 38;
    auto headingAt = [&](const char* text) {
        auto* label = new QLabel(text, this);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        label->setGeometry(kDataLeft, y, 170, kRow);
        y += kRow + 2;
    };
    auto row = [&](const char* caption, const char* name) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(kDataLeft, y, kDataValue - kDataLeft, kRow);
        QLabel* value = valueLabel(name, this);
        value->setGeometry(kDataValue, y, 681 - kDataValue - 6, kRow);
        y += kRow;
        return value;
    };
    headingAt("Weapon:");
    for (int i = 0; i < 10; ++i)
        weaponFields_[i] = row(kWeaponCaptions[i], kWeaponFieldNames[i]);
    weaponModification_[0] = row("Modifications: ", "WeaponModification1");
    weaponModification_[1] = row("", "WeaponModification2");
    y += 6;
    headingAt("Helmet:");
    helmetName_ = row("Name: ", "HelmetName");
    helmetName_->setText(" ");
    helmetArmor_ = row("Armor: ", "HelmetArmor");
    y += 6;
    headingAt("Vest:");
    vestName_ = row("Name: ", "VestName");
    vestName_->setText(" ");
    vestArmor_ = row("Armor: ", "VestArmor");
    return nullptr;
}

QMenu* TPresetsForm::weaponMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName("WeaponPopup");
    std::map<std::string, QMenu*> groups;
    for (const catalogue::WeaponEntry& entry : catalogue::weapons()) {
        QMenu* parent = menu;
        if (entry.group) {
            parent = subMenu(menu, entry.group, catalogue::weaponGroups(), groups, entry.group);
        }
        QAction* action = parent->addAction(entry.caption);
        action->setObjectName(entry.component);
        connect(action, &QAction::triggered, this, [this, &entry] { ChooseWeapon(entry); });
        if (!entry.group)
            menu->addSeparator();
    }
    return menu;
}

QMenu* TPresetsForm::attachmentMenu(int slot)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(slot == 1 ? "Modification1Popup" : "Modification2Popup");
    for (const catalogue::AttachmentEntry& entry : catalogue::attachments()) {
        QAction* action = menu->addAction(slot == 1 ? entry.caption1 : entry.caption2);
        action->setObjectName(slot == 1 ? entry.component1 : entry.component2);
        connect(action, &QAction::triggered, this, [this, &entry, slot] {
            slot == 1 ? ChooseModification1(entry) : ChooseModification2(entry);
        });
        if (entry.item == 0)
            menu->addSeparator();
    }
    return menu;
}

QMenu* TPresetsForm::armourMenu(bool helmet)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(helmet ? "HelmetPopup" : "VestPopup");
    std::map<std::string, QMenu*> groups;
    const auto entries = helmet ? catalogue::helmets() : catalogue::vests();
    const auto menuGroups = helmet ? catalogue::helmetGroups() : catalogue::vestGroups();
    for (const catalogue::ArmourEntry& entry : entries) {
        QMenu* parent = menu;
        std::string key;
        int depth = 0;
        while (depth < 2 && entry.path[depth + 1]) {
            key += std::string(entry.path[depth]) + ">";
            parent = subMenu(parent, entry.path[depth], menuGroups, groups, key);
            ++depth;
        }
        QAction* action = parent->addAction(entry.path[depth]);
        action->setObjectName(entry.component);
        connect(action, &QAction::triggered, this,
                [this, &entry, helmet] { helmet ? ChooseHelmet(entry) : ChooseVest(entry); });
        if (entry.item == 0)
            menu->addSeparator();
    }
    return menu;
}

void TPresetsForm::ChooseWeapon(const catalogue::WeaponEntry& entry)
{
    const catalogue::WeaponDisplay& d = entry.display;
    weaponFields_[0]->setText(shown(d.name));
    weaponPanel_->setText(d.name);
    const char* values[9] = {d.caliber, d.capability, d.weightKg, d.weightLb, d.damage,
                             d.range,   d.ap,         d.burst,    d.apBurst};
    for (int i = 0; i < 9; ++i)
        weaponFields_[i + 1]->setText(values[i]);
    profile_.setHidden(Hidden::Weapon, entry.weapon);
    profile_.setHidden(Hidden::Ammo, entry.ammo);
}

void TPresetsForm::ChooseModification1(const catalogue::AttachmentEntry& entry)
{
    weaponModification_[0]->setText(entry.shown);
    modificationPanel_[0]->setText(entry.shown);
    profile_.setHidden(Hidden::Modification1, entry.item);
}

void TPresetsForm::ChooseModification2(const catalogue::AttachmentEntry& entry)
{
    weaponModification_[1]->setText(entry.shown);
    modificationPanel_[1]->setText(entry.shown);
    profile_.setHidden(Hidden::Modification2, entry.item);
}

void TPresetsForm::ChooseHelmet(const catalogue::ArmourEntry& entry)
{
    helmetName_->setText(entry.shown);
    helmetPanel_->setText(QString("  ") + entry.shown);
    armorHelmet_->setText(QString::number(entry.armour));
    helmetArmor_->setText("+" + QString::number(entry.armour) + "%");
    RefreshArmorTotal();
    profile_.setHidden(Hidden::Helmet, entry.item);
}

void TPresetsForm::ChooseVest(const catalogue::ArmourEntry& entry)
{
    vestName_->setText(entry.shown);
    vestPanel_->setText(QString("  ") + entry.shown);
    armorVest_->setText(QString::number(entry.armour));
    vestArmor_->setText("+" + QString::number(entry.armour) + "%");
    RefreshArmorTotal();
    profile_.setHidden(Hidden::Vest, entry.item);
}

void TPresetsForm::RefreshArmorTotal()
{
    const int total = armorHelmet_->text().toInt() + armorVest_->text().toInt() +
                      (ceramic_->isChecked() ? catalogue::kCeramicArmour : 0);
    armorPanel_->setText("  Armor: " + QString::number(total) + "%");
}

void TPresetsForm::setCeramicChecked(bool checked)
{
    ceramic_->setChecked(checked);
}

void TPresetsForm::FillPresetList()
{
    presetList_->clear();
    runGuarded(platform_, [this] {
        const auto names = presetNames(platform_.files(), presetsPath(platform_));
        if (!names) {
            showFailure(platform_, names.status());
            return;
        }
        for (const std::string& name : *names)
            presetList_->addItem(QString::fromStdString(name));
    });
}

void TPresetsForm::LoadPreset(const QString& name)
{
    runGuarded(platform_, [&] {
        showFailure(platform_, loadPreset(platform_, presetsPath(platform_), name.toStdString(), profile_, *this));
    });
}

void TPresetsForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    FillPresetList();
    ceramic_->setFocus();
}

} // namespace kestrin
