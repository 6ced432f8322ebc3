#include "kestrin/windows/nameform.h"

// Qt
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

// ours
#include "kestrin/profile/profile.h"
#include "kestrin/windows/keyfilters.h"
#include "platform/codepage.h"
#include "kestrin/windows/windowset.h"
#include "widgets/flatspeedbutton.h"
#include "widgets/flatstyle.h"
#include "widgets/headerstrip.h"

namespace kestrin {

namespace {

QLineEdit* textField(const char* name, int limit, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(limit);
    edit->installEventFilter(new KeyFilter(KeyFilter::Allow::Letters, edit));
    return edit;
}

} // namespace

TNameForm::TNameForm(Profile& profile, const platform::CodePage& codePage, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      profile_(profile), codePage_(codePage), mainWindow_(mainWindow)
{
    setObjectName("NameForm");
    setWindowTitle("Kestrin - Name");

    nameEdit_ = textField("NameEdit", 20, this);
    callsignEdit_ = textField("CallsignEdit", 8, this);
    auto* done = new widgets::FlatSpeedButton("&Done", this);
    done->setObjectName("FlatSpeedButton1");
    connect(done, &widgets::FlatSpeedButton::clicked, this, &QWidget::hide);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Your name:", this), 0, 0);
    fields->addWidget(nameEdit_, 0, 1);
    fields->addWidget(new QLabel("Your callsign:", this), 1, 0);
    fields->addWidget(callsignEdit_, 1, 1);
    fields->setColumnMinimumWidth(1, 180);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(new widgets::HeaderStrip("Name", this));
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 8, 12, 0);
    body->addLayout(fields);
    body->addWidget(done, 0, Qt::AlignRight);
    layout->addLayout(body);
    widgets::applyFlatStyle(this);
    setFixedSize(sizeHint());

    // The fields are the model's name and callsign: edits go in at once and
    // a read shows here even while the window is hidden.
    connect(nameEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (auto bytes = codePage_.fromUnicode(text))
            profile_.setName(*bytes);
    });
    connect(callsignEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (auto bytes = codePage_.fromUnicode(text))
            profile_.setCallsign(*bytes);
    });
    connect(&profile_, &Profile::changed, this, [this](Field field) {
        if (field == Field::Name && codePage_.fromUnicode(nameEdit_->text()) != profile_.name())
            nameEdit_->setText(codePage_.toUnicode(profile_.name()));
        if (field == Field::Callsign && codePage_.fromUnicode(callsignEdit_->text()) != profile_.callsign())
            callsignEdit_->setText(codePage_.toUnicode(profile_.callsign()));
    });
}

void TNameForm::showForm()
{
    showOverMainWindow(this, mainWindow_, placed_);
}

} // namespace kestrin
