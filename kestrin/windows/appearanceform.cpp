#include "kestrin/windows/appearanceform.h"

// Qt
#include <QCursor>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

// ours
#include "kestrin/core/profilerecord.h"
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/flatstyle.h"
#include "kestrin/widgets/headerstrip.h"

namespace kestrin {

namespace {

struct PartInfo {
    Palette part;
    const char* heading;
    const char* headingLabel;
    const char* valueLabel;
    const char* popup;
    const char* button;
    const char* caption;
    int row, column;
};

const PartInfo kParts[] = {
    {Palette::Hair, "Haircolor:", "Label1", "Label2", "HairPopup", "FlatSpeedButton1", "&Haircolor", 0, 0},
    {Palette::Skin, "Skincolor:", "Label6", "Label5", "SkinPopup", "FlatSpeedButton2", "&Skincolor", 1, 0},
    {Palette::Vest, "Vestcolor:", "Label7", "Label3", "VestPopup", "FlatSpeedButton3", "&Vestcolor", 0, 1},
    {Palette::Pants, "Pantscolor:", "Label8", "Label4", "PantsPopup", "FlatSpeedButton4", "&Pantscolor", 1, 1},
};

} // namespace

TAppearanceForm::TAppearanceForm(Profile& profile)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), profile_(profile)
{
    setObjectName("AppearanceForm");
    setWindowTitle("Kestrin - Appearance");
    flat::applyFlatStyle(this); // first: the controls made below take the look as they are made

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
        for (const record::PaletteEntry& e : record::kPaletteFields[int(p.part)].colours) {
            QAction* action = menu->addAction(e.caption);
            action->setObjectName(e.component);
            connect(action, &QAction::triggered, this, [this, part = p.part, name = e.name] { choose(part, name); });
        }
        popups_[int(p.part)] = menu;
        auto* button = new flat::FlatSpeedButton(p.caption, this);
        button->setObjectName(p.button);
        button->setMinimumWidth(110);
        connect(button, &flat::FlatSpeedButton::clicked, this, [menu] { menu->popup(QCursor::pos()); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* done = new flat::FlatSpeedButton("&Done", this);
    done->setObjectName("FlatSpeedButton5");
    done->setToolTip("&Done");
    done->setMinimumWidth(110);
    connect(done, &flat::FlatSpeedButton::clicked, this, &QWidget::hide);
    buttons->addWidget(done);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(10, 8, 10, 10);
    body->addLayout(boxes);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* header = new flat::HeaderStrip("Appearance", this);
    header->setObjectName("Panel1");
    layout->addWidget(header);
    layout->addLayout(body);
    setFixedSize(std::max(360, sizeHint().width()), std::max(181, sizeHint().height()));
}

void TAppearanceForm::choose(Palette part, std::string_view name)
{
    values_[int(part)]->setText(QString::fromLatin1(name.data(), qsizetype(name.size())));
    profile_.setPalette(part, std::string(name));
}

bool TAppearanceForm::selectColor(Palette part, const std::string& name)
{
    if (!record::isPaletteName(part, name))
        return false;
    choose(part, name);
    return true;
}

} // namespace kestrin
