// What the eclosion editor may do with the host's template list: the default templates at its head, the
// names it shows, the limits, who may edit what, which controls are usable, and where an element's block
// is drawn. No window involved; texts to show come translated from the caller.
#pragma once

#include <cstdint>
#include <string>

#include "PivoraHost.h"

constexpr int32_t kEclosionDefaultTemplates = 4;
constexpr int32_t kEclosionMaxModes = 3;
constexpr int32_t kEclosionMaxElements = 2;
constexpr int32_t kEclosionMinRange = 0;
constexpr int32_t kEclosionMaxRange = 200;
// The template list is walked no further than this, whatever count the host reports.
constexpr int32_t kEclosionMaxTemplateWalk = 0x10000;
constexpr int32_t kEclosionMinElementSize = 1;
constexpr int32_t kEclosionMaxElementSize = 8;
constexpr int32_t kEclosionPreviewDivisions = 8;
constexpr uint32_t kEclosionElementColor = 0x000000;       // 0x00BBGGRR
constexpr uint32_t kEclosionAbsentElementColor = 0xF0F0F0; // 0x00BBGGRR

// The template at a 0-based position; null without a list, outside the list, or where the host has none.
IHostEclosionTemplate* EclosionTemplateAt(IHostEclosionTemplateList* pList, int32_t nIndex);
// The mode of a template at a 0-based index; null without a template, outside its modes, or where the host
// has none.
IHostEclosionMode* EclosionModeAt(IHostEclosionTemplate* pTemplate, int32_t nIndex);

// Makes the first four templates default, appending default templates of two modes of two 1 x 1 elements
// each until there are four.
void EnsureDefaultTemplates(IHostEclosionTemplateList* pList);

// The translated words a template's display name is made of.
struct EclosionNameTexts {
    std::wstring strTemplate; // "Template"
    std::wstring strDefault;  // "Default"
    std::wstring strCustom;   // "Custom"
};

// "Template<position + 1>--Default" or "...--Custom": names follow the position, so they renumber.
std::wstring EclosionDisplayName(int32_t nPosition, bool bDefault, const EclosionNameTexts& texts);

// Converts a name into the 8-bit code page the host stores names in.
using EclosionNameToAnsi = std::string (*)(const std::wstring& strName);

struct CreatedEclosionTemplate {
    IHostEclosionTemplate* pTemplate = nullptr; // null when the host could not append one
    std::wstring strName;
    int32_t nPosition = -1; // its position in the host's list
};

// Appends a template: default while the list has no more than four, custom after; named for its position.
CreatedEclosionTemplate CreateEclosionTemplate(IHostEclosionTemplateList* pList,
                                               const EclosionNameTexts& texts, EclosionNameToAnsi pfnToAnsi);

// The range as the dialog shows it: the slider's 0 to 200, whatever the host holds.
int32_t ClampEclosionRange(int32_t nRange);

// Custom templates are always editable; default ones only with the edit-defaults flag.
bool IsEclosionTemplateEditable(IHostEclosionTemplate* pTemplate, uint32_t nEditDefaults);

// Which controls the operator can use, for the template being edited and the chosen mode index.
struct EclosionControlStates {
    bool bAddTemplate = true;
    bool bDeleteTemplate = false;
    bool bAddMode = false;
    bool bDeleteMode = false;
    bool bModeChoices = false;
    bool bAddElement = false;
    bool bDeleteElement = false;
    bool bSizeSliders = false;
    bool bRangeSlider = true;
};

EclosionControlStates GetEclosionControlStates(IHostEclosionTemplate* pTemplate, int32_t nModeIndex,
                                               uint32_t nEditDefaults);

// How many of the Mode1 to Mode3 choices a template shows (0 to 3).
int32_t VisibleEclosionModeChoices(IHostEclosionTemplate* pTemplate);
// How many of the Element1 and Element2 groups a mode shows (0 to 2).
int32_t VisibleEclosionElements(IHostEclosionMode* pMode);

struct EclosionRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The block of a w x h element centred in its frame, on a grid of an eighth of the frame's shorter side.
EclosionRect EclosionElementPreviewRect(const EclosionRect& frame, uint32_t nWidth, uint32_t nHeight);
