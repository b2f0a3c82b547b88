/*
** What a person does with the device, for front ends and automation. Each
** action acts on the topmost window (a message box, else the topmost
** dialog), refuses what a person could not do (a hidden or disabled target,
** a window behind a message box, a greyed menu item) with a message, and
** returns before the loop has handled what the action caused: the caller
** lets the loop run until idle.
*/
#pragma once

#include <string>

#include "pf/types.h"

namespace pf::host::user {

PF_API bool clickButton(int32_t id, std::string* error);
PF_API bool selectItem(int32_t id, int32_t index, std::string* error);
PF_API bool typeText(int32_t id, std::u16string_view text, std::string* error);
/* key: PFK_ENTER, PFK_LEFT, PFK_UP, PFK_RIGHT or PFK_DOWN; the control gets
** the focus first. */
PF_API bool pressKey(int32_t id, uint32_t key, std::string* error);
PF_API bool tapRow(int32_t id, int32_t index, std::string* error);
/* The command message as a control or the dialog manager sends it. */
PF_API bool sendCommand(int32_t id, uint16_t code, PfLParam lParam, std::string* error);
/* 0 = left, 1 = right. */
PF_API bool pressSoftKey(int32_t index, std::string* error);
PF_API bool chooseMenu(uint32_t command, std::string* error);
PF_API bool closeMenu(std::string* error);
PF_API bool pressTitleOk(std::string* error);
PF_API bool answerMessageBox(bool ok, std::string* error);
PF_API bool repaintTopmost(std::string* error);

}  // namespace pf::host::user
