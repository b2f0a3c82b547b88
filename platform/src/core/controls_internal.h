/*
** What the standard controls offer beyond their messages: registration of
** their classes, and the actions of a user (typing, choosing, tapping) that
** the input layer performs on them. A user action notifies the parent as the
** control would; code that sends the control messages notifies nothing.
*/
#pragma once

#include <string>
#include <vector>

#include "pf/types.h"

namespace pf::controls {

void registerStatic();
void registerButton();
void registerEdit();
void registerListBox();
void registerComboBox();
void registerProgress();

/* Each returns false with a message when the action is impossible. */
bool userClickButton(PfWnd button, std::string* error);
bool userTypeText(PfWnd control, std::u16string_view text, std::string* error);
bool userTypeComboText(PfWnd combo, std::u16string_view text, std::string* error);
bool userSelectItem(PfWnd control, int32_t index, std::string* error);
/* Stylus down on a row (or below the last row with -1), then up. */
bool userTapRow(PfWnd list, int32_t index, std::string* error);

bool listUserSelect(PfWnd list, int32_t index, std::string* error);
bool comboUserSelect(PfWnd combo, int32_t index, std::string* error);

/* Where a sorted list inserts a text: after every entry that compares
** equal or lower without regard to case. */
size_t sortedPosition(const std::vector<std::u16string>& items, const char16_t* text);

/* Row height of list boxes in pixels on the current screen. */
int32_t listRowHeight();

}  // namespace pf::controls
