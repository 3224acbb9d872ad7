#pragma once

#include <QColor>
#include <QLineEdit>
#include <string>

namespace q93 {

// The edit of every typed value: an optional set of allowed characters for typing, and an
// optional integer range whose violation turns the background red. Pasting is not filtered;
// the owner's parser copes with whatever arrives. Maximum lengths are set by the owner.
// Only characters are filtered: keys that produce none (Delete, the arrows) edit as usual.
class CMaskEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CMaskEdit(QWidget* parent = nullptr);

    // A non-empty text becomes the set of characters that may be typed; empty or null
    // changes nothing. At most 255 characters are kept.
    void SetValidChars(const char* chars);
    void SetIntRange(int min, int max);
    // The platform edit's text limit: what the user types or pastes may not make the text
    // longer than `length` characters, while a text the owner sets is shown whole however
    // long it is. Unlike QLineEdit::setMaxLength, which cuts what the program sets too.
    void SetTextLimit(int length);
    int textLimit() const { return textLimit_; }

    bool filterOn() const { return filterOn_; }
    const std::string& validChars() const { return validChars_; }
    bool isValid() const { return isValid_; }
    // Marks the text the owner has just set as standing for a value it cannot show (not a
    // number, infinite): red, as an invalid entry, until the text changes.
    void ShowDoubtful();
    bool isDoubtful() const { return doubtful_; }
    // The background the control shows now.
    QColor backgroundColor() const;

    static QColor normalColor() { return QColor(255, 255, 255); }
    static QColor invalidColor() { return QColor(255, 0, 0); }
    static QColor disabledColor() { return QColor(212, 208, 200); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool passesFilter(const QKeyEvent* event) const;
    bool fitsTextLimit(const QKeyEvent* event) const;
    void cutToTextLimit(const QString& before);
    void checkRange();
    void applyColors();

    std::string validChars_;
    bool filterOn_ = false;
    char rangeKind_ = 0;
    double rangeMin_ = 0;
    double rangeMax_ = 0;
    int textLimit_ = 0;  // none
    // Before anything was typed the text counts as valid: a value filled in by the owner
    // shows white until the user edits it.
    bool isValid_ = true;
    bool doubtful_ = false;
};

}  // namespace q93
