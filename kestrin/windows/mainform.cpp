#include "kestrin/windows/mainform.h"

// Qt
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

// ours
#include "kestrin/core/failurebox.h"
#include "kestrin/core/profilefile.h"
#include "kestrin/core/profilerecord.h"
#include "kestrin/windows/appearanceform.h"
#include "kestrin/windows/guarded.h"
#include "kestrin/windows/helpform.h"
#include "kestrin/windows/keyfilters.h"
#include "kestrin/windows/nameform.h"
#include "kestrin/windows/portraitform.h"
#include "kestrin/windows/presetsform.h"
#include "kestrin/windows/windowset.h"
#include "widgets/named.h"
#include "platform/platform.h"
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/flatstyle.h"
#include "kestrin/widgets/headerstrip.h"
#include "widgets/jpegimage.h"

namespace kestrin {

using widgets::named;

namespace {

QLabel* heading(const char* text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QComboBox* fixedList(const char* name, int rows, QWidget* parent)
{
    auto* list = named(new flat::FlatComboBox(parent), name);
    list->setEditable(false);
    list->setMaxVisibleItems(rows);
    list->setMinimumWidth(170);
    return list;
}

} // namespace

TMainForm::TMainForm(Profile& profile, WindowSet& windows, platform::Platform& platform)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      profile_(profile), windows_(windows), platform_(platform), timer1_(new QTimer(this)), timer2_(new QTimer(this))
{
    setObjectName("MainForm");
    setWindowTitle("Kestrin - Version 1.03");
    // First, so that the controls made below take the look as they are made.
    // No style sheet: this window is made at start-up, and the style alone
    // draws its controls the same, quicker and in less memory.
    flat::applyFlatStyleWithoutSheet(this);

    auto* columns = new QHBoxLayout;
    columns->setContentsMargins(10, 8, 10, 4);
    columns->setSpacing(14);
    columns->addWidget(buildAttributes(), 0, Qt::AlignTop);
    auto* middle = new QVBoxLayout;
    middle->addWidget(buildLists());
    middle->addWidget(buildRadioGroups());
    middle->addStretch();
    columns->addLayout(middle);
    auto* right = new QVBoxLayout;
    right->addWidget(buildButtons());
    right->addStretch();
    right->addWidget(buildCredits());
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new flat::HeaderStrip("Kestrin", this));
    layout->addLayout(columns);
    layout->addWidget(buildBanner());
    setFixedSize(sizeHint());

    timer1_->setObjectName("Timer1");
    timer2_->setObjectName("Timer2");
    timer1_->setInterval(200);
    timer2_->setInterval(200);
    connect(timer1_, &QTimer::timeout, this, [this] { repeatTick(+1); });
    connect(timer2_, &QTimer::timeout, this, [this] { repeatTick(-1); });
    connect(&profile_, &Profile::changed, this, &TMainForm::showField);
}

QWidget* TMainForm::buildAttributes()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    grid->addWidget(heading("Attributes:", box), 0, 0, 1, 4);
    int row = 1;
    for (const AttributeInfo& a : kAttributes) {
        if (a.attribute == Attribute::Experience)
            grid->setRowMinimumHeight(row++, 10);
        auto* edit = named(new QLineEdit(QString::fromStdString(profile_.attributeText(a.attribute)), box), a.control);
        edit->setFixedWidth(42);
        edit->setAlignment(Qt::AlignRight);
        edit->installEventFilter(new KeyFilter(KeyFilter::Allow::Digits, edit, a.maxLength));
        attributeEdits_[int(a.attribute)] = edit;
        // Whoever changes the text, the model takes it and its change rule
        // runs; a text the rule cannot read stays, and the failure is shown
        // once the field shows it. A text that came from the model is its
        // already: its rule ran (and its failure was reported) where the
        // model was changed.
        connect(edit, &QLineEdit::textChanged, this, [this, attribute = a.attribute](const QString& text) {
            if (text.toStdString() != profile_.attributeText(attribute))
                guarded([&] { showFailure(platform_, profile_.setAttributeText(attribute, text.toStdString())); });
        });

        auto* up = named(new flat::FlatSpeedButton(QString(), box), a.upButton);
        up->setArrow(Qt::UpArrow);
        auto* down = named(new flat::FlatSpeedButton(QString(), box), a.downButton);
        down->setArrow(Qt::DownArrow);
        connect(up, &flat::FlatSpeedButton::pressed, this,
                [this, attribute = a.attribute] { startRepeat(attribute, timer1_); });
        connect(down, &flat::FlatSpeedButton::pressed, this,
                [this, attribute = a.attribute] { startRepeat(attribute, timer2_); });
        for (auto* button : {up, down})
            connect(button, &flat::FlatSpeedButton::released, this, [this] {
                timer1_->stop();
                timer2_->stop();
            });
        auto* steppers = new QVBoxLayout;
        steppers->setSpacing(0);
        steppers->addWidget(up);
        steppers->addWidget(down);

        grid->addWidget(new QLabel(a.label, box), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addLayout(steppers, row, 2);
        ++row;
    }
    return box;
}

QWidget* TMainForm::buildLists()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(heading("Traits:", box), 0, 0, 1, 2);
    trait1_ = fixedList("ListTrait1", 20, box);
    trait2_ = fixedList("ListTrait2", 20, box);
    for (QComboBox* list : {trait1_, trait2_})
        for (const record::TraitEntry& t : record::kTraits)
            list->addItem(t.text);
    grid->addWidget(new QLabel("#1:", box), 1, 0);
    grid->addWidget(trait1_, 1, 1);
    grid->addWidget(new QLabel("#2:", box), 2, 0);
    grid->addWidget(trait2_, 2, 1);
    auto* note = new QLabel("Traits marked with [*] aren't available for expert mode.", box);
    note->setWordWrap(true);
    grid->addWidget(note, 3, 0, 1, 2);

    personality_ = fixedList("ListPersonality", 10, box);
    for (const char* p : record::kPersonalities)
        personality_->addItem(p);
    attitude_ = fixedList("ListAttitude", 10, box);
    for (const char* a : record::kAttitudes)
        attitude_->addItem(a);
    grid->addWidget(heading("Personality:", box), 4, 0, 1, 2);
    grid->addWidget(personality_, 5, 0, 1, 2);
    grid->addWidget(heading("Attitude:", box), 6, 0, 1, 2);
    grid->addWidget(attitude_, 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    // currentIndexChanged fires on a real change, from a click or from code.
    connect(trait1_, &QComboBox::currentIndexChanged, this, [this](int i) { profile_.selectTraitPosition(1, i); });
    connect(trait2_, &QComboBox::currentIndexChanged, this, [this](int i) { profile_.selectTraitPosition(2, i); });
    connect(personality_, &QComboBox::currentIndexChanged, this, [this](int i) { profile_.selectPersonality(i); });
    connect(attitude_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            profile_.selectAttitude(i);
    });
    return box;
}

QWidget* TMainForm::buildRadioGroups()
{
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 6, 0, 0);

    auto* sex = new QGroupBox("Sex:", box);
    auto* sexLayout = new QVBoxLayout(sex);
    for (std::size_t i = 0; i < record::kBodyTypes.size(); ++i) {
        const record::ButtonEntry& b = record::kBodyTypes[i];
        auto* radio = named(new QRadioButton(b.caption, sex), b.control);
        bodyButtons_[i] = radio;
        sexLayout->addWidget(radio);
        // toggled fires on a real change only: checking the checked button does nothing.
        connect(radio, &QRadioButton::toggled, this, [this, code = b.code](bool on) {
            if (on)
                profile_.checkBodyType(code);
        });
    }
    auto* voice = new QGroupBox("Voice:", box);
    auto* voiceLayout = new QGridLayout(voice);
    for (std::size_t i = 0; i < record::kVoices.size(); ++i) {
        const record::ButtonEntry& v = record::kVoices[i];
        auto* radio = named(new QRadioButton(v.caption, voice), v.control);
        voiceButtons_[i] = radio;
        voiceLayout->addWidget(radio, int(i % 3), int(i / 3));
        connect(radio, &QRadioButton::toggled, this, [this, code = v.code](bool on) {
            if (on)
                profile_.checkVoice(code);
        });
    }
    layout->addWidget(sex);
    layout->addWidget(voice);
    return box;
}

QWidget* TMainForm::buildButtons()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    struct Row {
        const char* name;
        const char* caption;
        int pathButton; // index among the buttons enabled by a path, or -1
        std::function<void()> action;
    };
    const Row rows[] = {
        {"FlatSpeedButton23", "&Inventory", 0, [this] { showOverMainWindow(windows_.presets(), this); }},
        {"FlatSpeedButton24", "&Appearance", 1, [this] { showOverMainWindow(windows_.appearance(), this); }},
        {"FlatSpeedButton25", "&Portrait", 2, [this] { showOverMainWindow(windows_.portrait(), this); }},
        {"FlatSpeedButton26", "&Name", 3, [this] { showOverMainWindow(windows_.name(), this); }},
        {"FlatSpeedButton27", "&Help me!", -1, [this] { showOverMainWindow(windows_.help(), this); }},
        {"FlatSpeedButton31", "S&et IMP.dat path", -1, [this] { selectPath(); }},
        {"FlatSpeedButton28", "&Save Custom", 4, [this] { saveCustom(); }},
        {"FlatSpeedButton29", "&Read/Reset Custom", 5, [this] { readCustom(); }},
        {"FlatSpeedButton30", "&Close", -1, [this] { close(); }},
    };
    for (const Row& row : rows) {
        auto* button = named(new flat::FlatSpeedButton(row.caption, box), row.name);
        button->setMinimumSize(150, 26);
        connect(button, &flat::FlatSpeedButton::clicked, this, row.action);
        if (row.pathButton >= 0) {
            button->setEnabled(false);
            pathButtons_[row.pathButton] = button;
        }
        if (std::string_view(row.name) == "FlatSpeedButton27" || std::string_view(row.name) == "FlatSpeedButton28")
            layout->addSpacing(10);
        layout->addWidget(button);
    }
    return box;
}

QWidget* TMainForm::buildCredits()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const struct {
        const char* heading;
        const char* names;
    } blocks[] = {
        {"Thanx to:", "everyone who charted IMP.dat"},
        {"Betatesters:", "the mercs of the first hour"},
        {"Special thanx:", "all who sent a bug report"},
    };
    for (const auto& block : blocks) {
        layout->addWidget(heading(block.heading, box));
        auto* names = new QLabel(block.names, box);
        names->setIndent(6);
        layout->addWidget(names);
    }
    return box;
}

QWidget* TMainForm::buildBanner()
{
    banner_ = named(new QLabel(this), "Image2");
    banner_->setAlignment(Qt::AlignCenter);
    banner_->setCursor(Qt::PointingHandCursor);
    banner_->setStyleSheet("background: #2b3324;");
    auto picture = widgets::decodeJpegResource(":/pictures/banner.jpg");
    if (picture)
        banner_->setPixmap(QPixmap::fromImage(*picture));
    banner_->setMinimumHeight(60);
    banner_->installEventFilter(this);
    return banner_;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == banner_ && event->type() == QEvent::MouseButtonRelease) {
        guarded([this] { showFailure(platform_, platform_.openUrl(kBannerAddress)); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::guarded(const std::function<void()>& action)
{
    runGuarded(platform_, action);
}

void TMainForm::showField(Field field)
{
    const int f = int(field);
    if (f >= int(Field::FirstAttribute) && f < int(Field::FirstAttribute) + kAttributeCount) {
        const auto a = Attribute(f - int(Field::FirstAttribute));
        QLineEdit* edit = attributeEdits_[int(a)];
        const QString text = QString::fromStdString(profile_.attributeText(a));
        if (edit->text() != text)
            edit->setText(text);
        return;
    }
    switch (field) {
    case Field::Trait1:
        trait1_->setCurrentIndex(profile_.trait1Position());
        break;
    case Field::Trait2:
        trait2_->setCurrentIndex(profile_.trait2Position());
        break;
    case Field::Personality:
        personality_->setCurrentIndex(profile_.personalityPosition());
        break;
    case Field::Attitude:
        attitude_->setCurrentIndex(profile_.attitudePosition());
        break;
    case Field::BodyType:
        for (std::size_t i = 0; i < bodyButtons_.size(); ++i)
            if (record::kBodyTypes[i].code == profile_.bodyTypeButton())
                bodyButtons_[i]->setChecked(true);
        break;
    case Field::Voice:
        for (std::size_t i = 0; i < voiceButtons_.size(); ++i)
            if (record::kVoices[i].code == profile_.voiceButton())
                voiceButtons_[i]->setChecked(true);
        break;
    default:
        break;
    }
}

void TMainForm::startRepeat(Attribute target, QTimer* timer)
{
    repeatTarget_ = target;
    timer->start(); // the first step comes one interval after the press
}

void TMainForm::repeatTick(int delta)
{
    // A field that holds no number fails every tick the same way: the
    // repeat stops at the first failure, before it is shown, so it is shown
    // once.
    auto stop = [this] {
        timer1_->stop();
        timer2_->stop();
    };
    guarded([&] {
        platform::Status stepped = platform::Status::success();
        try {
            stepped = profile_.step(repeatTarget_, delta);
        } catch (...) {
            stop(); // what Qt or the library threw is shown by the safety net
            throw;
        }
        if (!stepped) {
            stop();
            showFailure(platform_, stepped);
        }
    });
}

void TMainForm::selectPath()
{
    platform::FileDialogOptions options;
    options.title = "Please locate the IMP.dat";
    options.filter = "IMP.dat|IMP.dat";
    options.initialName = "IMP.dat";
    options.defaultExtension = "dat";
    options.initialFolder = "c:\\program files\\brinlake\\vrn\\data";
    options.mustExist = true;
    auto choice = platform_.openFileDialog(options);
    if (!choice || choice->path.empty())
        return;
    setImpDatPath(choice->path);
}

void TMainForm::takeImpDatPath(const std::string& path)
{
    // The dialog lets only an existing file be chosen; a name given on the
    // command line gets the same check, so that the buttons never come on
    // for a file that is not there.
    guarded([&] {
        if (!platform_.files().isFile(path)) {
            showFailure(platform_, platform::Status::failure("Cannot open file \"" + path +
                                                                 "\". There is no file of that name.",
                                                             "There is no file of that name.", path));
            return;
        }
        setImpDatPath(path);
    });
}

void TMainForm::setImpDatPath(const std::string& path)
{
    impDatPath_ = path;
    for (auto* button : pathButtons_)
        button->setEnabled(true);
}

void TMainForm::readCustom()
{
    if (impDatPath_.empty())
        return;
    guarded([this] {
        showFailure(platform_, kestrin::readCustom(platform_, impDatPath_, profile_, windows_.choices(), &recordBase_));
    });
}

void TMainForm::saveCustom()
{
    if (impDatPath_.empty())
        return;
    guarded([this] {
        showFailure(platform_, saveProfile(platform_, impDatPath_, profile_, &recordBase_, &windows_.choices()));
    });
}

bool TMainForm::askQuit()
{
    return platform_.message("You really want to quit?", "Quit?", platform::Buttons::OkCancel) ==
           platform::Answer::Ok;
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (quitting_ || askQuit()) {
        quitting_ = true;
        event->accept();
        // Every window closes with the main window; nothing is saved.
        QApplication::closeAllWindows();
        QApplication::quit();
        return;
    }
    event->ignore();
}

} // namespace kestrin
