// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogControls.h"

#include "AfxTypes.h"
#include "Resources.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

Qt::ScrollBarPolicy BarPolicy(std::uint32_t style, std::uint32_t bar) {
    return (style & bar) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

// A multi-line edit scrolls sideways instead of wrapping when it scrolls
// horizontally as the user types; Tab moves on, as in any dialog field.
QWidget* CreateMultiLineEdit(const ControlTemplate& entry, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setLineWrapMode((entry.style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                         : QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(BarPolicy(entry.style, WS_VSCROLL));
    edit->setHorizontalScrollBarPolicy(BarPolicy(entry.style, WS_HSCROLL));
    edit->setTabChangesFocus(true);
    edit->setReadOnly(entry.style & ES_READONLY);
    edit->setFrameShape((entry.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    edit->setPlainText(QString::fromUtf8(entry.text ? entry.text : ""));
    return edit;
}

QWidget* CreateEdit(const ControlTemplate& entry, QWidget* parent) {
    if (entry.style & ES_MULTILINE)
        return CreateMultiLineEdit(entry, parent);
    auto* edit = new QLineEdit(QString::fromUtf8(entry.text ? entry.text : ""), parent);
    edit->setFrame(entry.style & WS_BORDER);
    edit->setReadOnly(entry.style & ES_READONLY);
    return edit;
}

QWidget* CreateButton(const ControlTemplate& entry, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(entry.text ? entry.text : ""), parent);
    button->setAutoDefault(true);
    button->setDefault(entry.style & BS_DEFPUSHBUTTON);
    return button;
}

// A static shows text or, with SS_ICON, an icon at the icon's own size.
QWidget* CreateStatic(const ControlTemplate& entry, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if ((entry.style & SS_TYPEMASK) == SS_ICON) {
        HICON icon = AfxLoadIcon(entry.image);
        label->setPixmap(icon.pixmap(32, 32));
    } else if (entry.labels || (entry.style & SS_NOPREFIX)) {
        label->setText(QString::fromUtf8(entry.text ? entry.text : ""));
    } else {
        label->setText(StripAccessKeys(entry.text));
    }
    return label;
}

QWidget* CreateWidget(const ControlTemplate& entry, QWidget* parent) {
    switch (entry.kind) {
    case ControlKind::Edit:
        return CreateEdit(entry, parent);
    case ControlKind::Button:
        return CreateButton(entry, parent);
    case ControlKind::Static:
        return CreateStatic(entry, parent);
    }
    return nullptr;
}

// Tab stops take the focus from the keyboard and the mouse; other fields and
// buttons only from the mouse; static controls never.
Qt::FocusPolicy FocusPolicy(const ControlTemplate& entry) {
    if (entry.kind == ControlKind::Static)
        return Qt::NoFocus;
    return (entry.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

QWidget* FindById(std::span<const ControlTemplate> entries, std::span<QWidget* const> controls,
                  int id) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].id == id)
            return controls[i];
    return nullptr;
}

} // namespace

QString StripAccessKeys(const char* text) {
    std::string plain;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '&') {
            if (p[1] != '&')
                continue;
            ++p;
        }
        plain.push_back(*p);
    }
    return QString::fromStdString(plain);
}

QWidget* CreateControl(const ControlTemplate& entry, QWidget* parent, const DialogBaseUnits& base) {
    QWidget* control = CreateWidget(entry, parent);
    if (entry.name)
        control->setObjectName(QString::fromLatin1(entry.name));
    control->setGeometry(
        SnapToDevicePixels(MapDialogRect(QRect(entry.x, entry.y, entry.cx, entry.cy), base),
                           parent->devicePixelRatioF()));
    // An icon control takes the size of its icon, whatever the template says.
    if (auto* label = qobject_cast<QLabel*>(control);
        label && (entry.style & SS_TYPEMASK) == SS_ICON)
        control->resize(label->pixmap().size());
    control->setFocusPolicy(FocusPolicy(entry));
    return control;
}

// The template names its labels' fields and its accessible texts' controls (CheckedControls,
// CheckedTexts), so each is found.
void LinkLabels(std::span<const ControlTemplate> entries, std::span<QWidget* const> controls) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].kind != ControlKind::Static || !entries[i].labels)
            continue;
        QWidget* field = FindById(entries, controls, entries[i].labels);
        static_cast<QLabel*>(controls[i])->setBuddy(field);
        field->setAccessibleName(StripAccessKeys(entries[i].text));
    }
}

void SetAccessibleTexts(std::span<const AccessibleText> texts,
                        std::span<const ControlTemplate> entries,
                        std::span<QWidget* const> controls) {
    for (const AccessibleText& text : texts) {
        QWidget* control = FindById(entries, controls, text.id);
        if (text.name)
            control->setAccessibleName(QString::fromUtf8(text.name));
        if (text.description)
            control->setAccessibleDescription(QString::fromUtf8(text.description));
    }
}

void SetTabOrder(std::span<const ControlTemplate> entries, std::span<QWidget* const> controls) {
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!(entries[i].style & WS_TABSTOP))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, controls[i]);
        previous = controls[i];
    }
}
