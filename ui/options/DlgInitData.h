// The strings a dialog template's initialisation data adds to one of its combo boxes: the data the
// dialog manager itself ignores, so the dialog that owns the template runs it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The texts of the add-string records for the control, in resource order; empty when the template
// has no initialisation data. Records cut short by the end of the resource are left out.
std::vector<std::string> DlgInitComboStrings(HINSTANCE instance, int templateId, int controlId);
