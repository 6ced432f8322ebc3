#include "kestrin/windows/appearanceform.h"

// standard
#include <span>

// Qt
#include <QCursor>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

// ours
#include "kestrin/windows/windowset.h"
#include "widgets/flatspeedbutton.h"
#include "widgets/flatstyle.h"
#include "widgets/headerstrip.h"

namespace kestrin {

namespace {

struct ColourEntry {
    const char* component;
    const char* caption;
    const char* palette;
};

// The menus' entries in their order; the palette names exactly as the game
// knows them, case included.
constexpr ColourEntry kHair[] = {
    {"Black1", "Black", "BLACKHEAD"},   {"Blondhair1", "Blond", "BLONDHEAD"}, {"Brown1", "Brown", "BROWNHEAD"},
    {"Redhair1", "Red", "REDHEAD"},     {"Redbrown1", "Redbrown", "redbrown"}, {"White1", "White", "WHITEHEAD"},
};
constexpr ColourEntry kSkin[] = {
    {"Black2", "Black", "BLACKSKIN"}, {"Dark1", "Dark", "DARKSKIN"},
    {"Pink1", "Pink", "PINKSKIN"},    {"Tan1", "Tan", "TANSKIN"},
};
constexpr ColourEntry kVest[] = {
    {"Blackshirt1", "Black (shirt)", "BLACKSHIRT"}, {"Blue1", "Blue", "BLUEVEST"},
    {"Brown2", "Brown", "BROWNVEST"},               {"Green1", "Green", "GREENVEST"},
    {"Grey1", "Grey", "greyVEST"},                  {"Jean1", "Jean", "JEANVEST"},
    {"Purpleshirt1", "Purple (shirt)", "PURPLESHIRT"}, {"Red1", "Red", "REDVEST"},
    {"White2", "White", "WHITEVEST"},               {"Yellow1", "Yellow", "YELLOWVEST"},
    {"Yellowshirt1", "Yellow (shirt)", "GYELLOWSHIRT"},
};
constexpr ColourEntry kPants[] = {
    {"Beige1", "Beige", "BEIGEPANTS"}, {"Blue2", "Blue", "BLUEPANTS"},   {"Black3", "Black", "BLACKPANTS"},
    {"Green2", "Green", "GREENPANTS"}, {"Jean2", "Jean", "JEANPANTS"},   {"Tan2", "Tan", "TANPANTS"},
};

struct PartInfo {
    Palette part;
    const char* heading;
    const char* headingLabel;
    const char* valueLabel;
    const char* popup;
    const char* button;
    const char* caption;
    std::span<const ColourEntry> entries;
    int row, column;
};

const PartInfo kParts[] = {
    {Palette::Hair, "Haircolor:", "Label1", "Label2", "HairPopup", "FlatSpeedButton1", "&Haircolor", kHair, 0, 0},
    {Palette::Skin, "Skincolor:", "Label6", "Label5", "SkinPopup", "FlatSpeedButton2", "&Skincolor", kSkin, 1, 0},
    {Palette::Vest, "Vestcolor:", "Label7", "Label3", "VestPopup", "FlatSpeedButton3", "&Vestcolor", kVest, 0, 1},
    {Palette::Pants, "Pantscolor:", "Label8", "Label4", "PantsPopup", "FlatSpeedButton4", "&Pantscolor", kPants, 1,
     1},
};

} // namespace

TAppearanceForm::TAppearanceForm(Profile& profile, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      profile_(profile), mainWindow_(mainWindow)
{
    setObjectName("AppearanceForm");
    setWindowTitle("Kestrin - Appearance");

    auto* boxes = new QGridLayout;
    boxes->setSpacing(8);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    for (const PartInfo& p : kParts) {
        auto* box = new QWidget(this);
        box->setObjectName(QString("Box") + p.headingLabel);
        box->setStyleSheet("#" + box->objectName() + " { border: 1px solid #3a3a3a; background: white; }");
        auto* heading = new QLabel(p.heading, box);
        heading->setObjectName(p.headingLabel);
        heading->setStyleSheet("background: black; color: white; font-weight: bold; padding: 2px 4px;");
        auto* value = new QLabel(box);
        value->setObjectName(p.valueLabel);
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumHeight(28);
        values_[int(p.part)] = value;
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(heading);
        layout->addWidget(value);
        box->setFixedWidth(120);
        boxes->addWidget(box, p.row, p.column);

        auto* menu = new QMenu(this);
        menu->setObjectName(p.popup);
        for (const ColourEntry& e : p.entries) {
            QAction* action = menu->addAction(e.caption);
            action->setObjectName(e.component);
            connect(action, &QAction::triggered, this, [this, part = p.part, name = e.palette] { choose(part, name); });
        }
        popups_[int(p.part)] = menu;
        auto* button = new widgets::FlatSpeedButton(p.caption, this);
        button->setObjectName(p.button);
        button->setMinimumWidth(110);
        connect(button, &widgets::FlatSpeedButton::clicked, this, [menu] { menu->popup(QCursor::pos()); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* done = new widgets::FlatSpeedButton("&Done", this);
    done->setObjectName("FlatSpeedButton5");
    done->setToolTip("&Done");
    done->setMinimumWidth(110);
    connect(done, &widgets::FlatSpeedButton::clicked, this, &QWidget::hide);
    buttons->addWidget(done);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(10, 8, 10, 10);
    body->addLayout(boxes);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* header = new widgets::HeaderStrip("Appearance", this);
    header->setObjectName("Panel1");
    layout->addWidget(header);
    layout->addLayout(body);
    widgets::applyFlatStyle(this);
    setFixedSize(std::max(360, sizeHint().width()), std::max(181, sizeHint().height()));
}

void TAppearanceForm::choose(Palette part, const char* name)
{
    values_[int(part)]->setText(name);
    profile_.setPalette(part, name);
}

bool TAppearanceForm::selectColor(Palette part, const std::string& name)
{
    for (const PartInfo& p : kParts) {
        if (p.part != part)
            continue;
        for (const ColourEntry& e : p.entries) {
            if (name == e.palette) {
                choose(part, e.palette);
                return true;
            }
        }
    }
    return false;
}

void TAppearanceForm::showForm()
{
    showOverMainWindow(this, mainWindow_, placed_);
}

} // namespace kestrin
