#include "hosts/qt/widgets/QtTextFieldPeer.h"

#include <QLabel>
#include <QLineEdit>

#include "hosts/qt/widgets/QtRichText.h"

namespace qthost {

namespace {

QWidget* makeWidget(const kit::TextField& field, QWidget& parent) {
    if (field.isEditable()) {
        return new QLineEdit(&parent);
    }
    return new QLabel(&parent);
}

}  // namespace

QtTextFieldPeer::QtTextFieldPeer(kit::TextField& field, QWidget& parent)
    : QtViewPeer(field, makeWidget(field, parent)), _field(field), _editable(field.isEditable()) {
    if (_editable) {
        _lineEdit = static_cast<QLineEdit*>(&widget());
        QObject::connect(_lineEdit, &QLineEdit::editingFinished, &receiver(), [this] { endEditing(); });
    } else {
        _label = static_cast<QLabel*>(&widget());
        _label->setTextFormat(Qt::PlainText);
    }
}

bool QtTextFieldPeer::presents(const kit::View& view) const {
    return static_cast<const kit::TextField&>(view).isEditable() == _editable;
}

void QtTextFieldPeer::endEditing() {
    const std::string text = _lineEdit->text().toStdString();
    if (text == _field.stringValue()) {
        return;
    }
    _field.setStringValue(text);
    _field.sendAction();
}

void QtTextFieldPeer::syncContent() {
    const QString text = QString::fromStdString(_field.stringValue());
    const bool framed = _field.isBezeled() || _field.isBordered();
    if (_lineEdit) {
        // Rewriting the same text would move the cursor of a field being edited.
        if (_lineEdit->text() != text) {
            _lineEdit->setText(text);
        }
        _lineEdit->setFrame(framed);
        return;
    }
    // Rich text (the popover's message) wraps within the field's width; plain labels stay on one line.
    if (const auto& rich = _field.attributedStringValue()) {
        _label->setTextFormat(Qt::RichText);
        _label->setWordWrap(true);
        _label->setText(richText(*rich, nullptr));
    } else {
        _label->setTextFormat(Qt::PlainText);
        _label->setText(text);
    }
    _label->setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
    _label->setTextInteractionFlags(_field.isSelectable() ? Qt::TextSelectableByMouse
                                                          : Qt::NoTextInteraction);
}

}  // namespace qthost
