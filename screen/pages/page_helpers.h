#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <string>

namespace q93 {

// What all pages share between a control and a parameter. Every helper accepts a null
// control and then does nothing (or reads 0), so a page survives a template without it.

void FormatFixed(double value, int decimals, QLineEdit* control);
double ParseNumber(const QLineEdit* control);
double ParseRounded(const QLineEdit* control, int decimals);
int ParseInteger(const QLineEdit* control);
void FormatInteger(QLineEdit* control, int value);

// Flag non-zero turns `a` on and `b` off, zero the other way round; needs both buttons.
void SetRadioPair(int flag, QAbstractButton* a, QAbstractButton* b);
// Index 0..3 turns that button on and the others off; any other index changes nothing.
void SetRadioOfFour(int index, QAbstractButton* b0, QAbstractButton* b1, QAbstractButton* b2,
                    QAbstractButton* b3);
bool isOn(const QAbstractButton* button);

// A drop-down list shows a parameter as the index of its entry: an index outside the list
// leaves no entry selected; reading back gives -1 when none is selected.
void SelectListIndex(QComboBox* list, int index);
int SelectedListIndex(const QComboBox* list);

// A UTF-8 text of the string table or the templates on a label.
void SetLabelText(QLabel* label, const std::string& text);

// Character set and maximum length of a numeric edit, both for what the user types or
// pastes; a loaded value is always shown whole. The edit must be a CMaskEdit.
void SetEditFilter(QLineEdit* edit, const char* chars, int maxLength);

// The character sets of the numeric edits.
inline constexpr const char* kSignedDecimalChars = "-0123456789.";
inline constexpr const char* kUnsignedDecimalChars = "0123456789.";
inline constexpr const char* kUnsignedIntegerChars = "0123456789";

}  // namespace q93
