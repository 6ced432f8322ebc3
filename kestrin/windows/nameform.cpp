#include "kestrin/windows/nameform.h"

// standard
#include <algorithm>
#include <string>
#include <utility>

// Qt
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

// ours
#include "kestrin/windows/keyfilters.h"
#include "platform/codepage.h"
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/flatstyle.h"
#include "kestrin/widgets/headerstrip.h"

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

TNameForm::TNameForm(Profile& profile, const platform::CodePage& codePage)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      profile_(profile), codePage_(codePage)
{
    setObjectName("NameForm");
    setWindowTitle("Kestrin - Name");
    // First, so that the controls made below take the look as they are made.
    // No style sheet: this window is made at start-up, and the style alone
    // draws its controls the same, quicker and in less memory.
    flat::applyFlatStyleWithoutSheet(this);

    nameEdit_ = textField("NameEdit", 20, this);
    callsignEdit_ = textField("CallsignEdit", 8, this);
    auto* done = new flat::FlatSpeedButton("&Done", this);
    done->setObjectName("FlatSpeedButton1");
    connect(done, &flat::FlatSpeedButton::clicked, this, &QWidget::hide);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Your name:", this), 0, 0);
    fields->addWidget(nameEdit_, 0, 1);
    fields->addWidget(new QLabel("Your callsign:", this), 1, 0);
    fields->addWidget(callsignEdit_, 1, 1);
    fields->setColumnMinimumWidth(1, 180);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(new flat::HeaderStrip("Name", this));
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 8, 12, 0);
    body->addLayout(fields);
    body->addWidget(done, 0, Qt::AlignRight);
    layout->addLayout(body);
    setFixedSize(sizeHint());

    bindToModel(nameEdit_, Field::Name);
    bindToModel(callsignEdit_, Field::Callsign);
}

const std::string& TNameForm::modelText(Field field) const
{
    return field == Field::Name ? profile_.name() : profile_.callsign();
}

void TNameForm::bindToModel(QLineEdit* edit, Field field)
{
    // The field is the model's text: edits go in at once, and a read shows
    // here even while the window is hidden.
    connect(edit, &QLineEdit::textChanged, this, [this, edit, field](const QString& text) {
        if (auto bytes = codePage_.fromUnicode(text)) {
            if (field == Field::Name)
                profile_.setName(std::move(*bytes));
            else
                profile_.setCallsign(std::move(*bytes));
            return;
        }
        // A pasted or dropped character that the code page cannot hold is
        // refused, as typing it is: the field goes back to the model's text,
        // so it always shows what a save writes. The cursor stays where the
        // refused text began.
        const QString kept = codePage_.toUnicode(modelText(field));
        const qsizetype cursor = edit->cursorPosition() - (text.size() - kept.size());
        edit->setText(kept);
        edit->setCursorPosition(int(std::clamp<qsizetype>(cursor, 0, kept.size())));
    });
    connect(&profile_, &Profile::changed, this, [this, edit, field](Field changed) {
        if (changed == field && codePage_.fromUnicode(edit->text()) != modelText(field))
            edit->setText(codePage_.toUnicode(modelText(field)));
    });
}

} // namespace kestrin
