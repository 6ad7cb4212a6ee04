// The host's object interface as Pivora.dll uses it.
//
// The host hands its root object, IHostInterface, to the module once; every machine value is
// read and changed through it and through the objects it hands out. The module borrows these
// objects for the duration of a call and never frees them; the only thing it gives back is a
// settings snapshot, through IHostPrinter::ReleaseSnapshot.
//
// Layout rules, so that a host built with another compiler sees the same tables of virtual
// functions: every interface is a plain struct of pure virtual operations, with no virtual
// destructor, no data and no two operations of the same name. Only fixed-width types cross
// the boundary; flags are int32_t (0 or 1) unless noted. Names are NUL-terminated strings in
// the system's ANSI code page. Lengths are doubles in millimetres. A null object result means
// absence only where its comment says so; elsewhere the host must return a valid object. The module does
// not crash on a null there either: it shows a neutral value (0, an empty text) and goes on.
//
// Strings the host returns (print mode names, ink group names) must be NUL-terminated and stay valid
// until the next call: an unterminated name is read past its end and faults; nothing can mend that on
// the module's side. Counts are trusted only so far: a walk over members, groups, modes or templates stops
// after 65,536 entries (ids are 16-bit), and a negative count means none.
//
// This header includes no platform header so that code using it also compiles natively on Linux.
#pragma once

#include <cstdint>

struct BoardVersionRecord;
struct MachineDateTime;

struct IHostInterface;
struct IHostPrinter;
struct IHostParameter;
struct IHostPrintModeTable;
struct IHostPrintModeList;
struct IHostPrintMode;
struct IHostTask;
struct IHostGroupLayout;
struct IHostIdList;
struct IHostGroupTable;
struct IHostGroup;
struct IHostGroupMember;
struct IHostHeadConfig;
struct IHostHeadTable;
struct IHostHead;
struct IHostChannel;
struct IHostBaseChannelList;
struct IHostBaseChannel;
struct IHostChannelGroupList;
struct IHostChannelGroup;
struct IHostChannelEntry;
struct IHostChannelGroupTables;
struct IHostGroupTableSet;
struct IHostSnapshot;
struct IHostHeadSettings;
struct IHostSettingsData;
struct IHostEclosionTemplateList;
struct IHostEclosionTemplate;
struct IHostEclosionMode;
struct IHostEclosionElement;
struct IHostMachineInfo;
struct IHostController;
struct IHostStatusSource;

// ---------------------------------------------------------------------------------------------
// Parameter ids (IHostInterface::GetParameter and IHostPrinter::GetParameter).

constexpr int32_t kParamStatusCode2 = 1002;    // root, integer: first number of status code 2
constexpr int32_t kParamStatusCode3 = 1003;    // root, integer: first number of status code 3
constexpr int32_t kParamPrintConfirm = 2014;   // printer, integer: 0 = no confirmation before printing
constexpr int32_t kParamApplyToAllTask = 2104; // printer, integer: not 0 = "Apply to all task" offered
constexpr int32_t kParamPrintModeAsk = 3206;   // printer, integer: 0 = no print mode question
constexpr int32_t kParamPrintPosX = 4011;      // root, double: X position of the print, mm
constexpr int32_t kParamPrintPosY = 4021;      // root, double: Y position of the print, mm
constexpr int32_t kParamPrintHeight = 4080;    // root, double: print height, mm
constexpr int32_t kParamMaterialHeight = 4081; // root, double: material height, mm

// Availability of a print mode for a layout that means "not available".
constexpr int32_t kPrintModeUnavailable = 255;

// Values of IHostInterface::GetMultiStepState.
constexpr int32_t kMultiStepIdle = 0; // no operation running: not started, or over
constexpr int32_t kMultiStepInitializing = 1;
constexpr int32_t kMultiStepInitialized = 2;
constexpr int32_t kMultiStepFirstStep = 3; // 3 to 10: step index 0 to 7 running
constexpr int32_t kMultiStepLastStep = 10;
constexpr int32_t kMultiStepWaitingOperator = 11; // waiting for Next Step, Cancel or Finish
constexpr int32_t kMultiStepCancelling = 12;
constexpr int32_t kMultiStepFinishing = 13;

// ---------------------------------------------------------------------------------------------
// Root object.

struct IHostInterface {
    // The machine; null when there is none.
    virtual IHostPrinter* GetPrinter() = 0;
    // A machine-wide parameter by id (kParam...).
    virtual IHostParameter* GetParameter(int32_t nId) = 0;
    // Writes the current Z axis position, mm; the caller presets *pdZ.
    virtual void GetZPosition(double* pdZ) = 0;
    // Has the host confirm the print position now; the result is the host's own.
    virtual int32_t ConfirmPrintPosition() = 0;
    // Applies the changed settings; the module passes (2, 0, 0) after a height change,
    // (0, 0, 0) after an ink switch and (2, 1, 0) after eclosion edits. The result is the host's.
    virtual int32_t ApplySettings(int32_t nArg1, int32_t nArg2, int32_t nArg3) = 0;
    // Resets the ink-supply timeout state; the result is the host's.
    virtual int32_t ResetInkSupplyTimeout() = 0;
    // State of the running multi-step operation (kMultiStep...; other values are undefined).
    virtual int32_t GetMultiStepState() = 0;
    // Tells the multi-step operation to go on with the next step; the result is the host's.
    virtual int32_t SendNextStepSignal() = 0;
    // Tells the multi-step operation to cancel; the result is the host's.
    virtual int32_t SendCancelSignal() = 0;
    // Tells the multi-step operation to finish; the result is the host's.
    virtual int32_t SendFinishSignal() = 0;
    // Fills the board versions into a record the caller zeroed; 0 when none could be read.
    virtual int32_t GetVersionRecord(BoardVersionRecord* pRecord) = 0;
    // The machine controller.
    virtual IHostController* GetController() = 0;
    // Writes the machine's date and time; the caller presets *pDateTime.
    virtual void GetMachineDateTime(MachineDateTime* pDateTime) = 0;
    // Heads, channels and channel groups as configured now.
    virtual IHostHeadConfig* GetHeadConfig() = 0;
    // The live head settings block.
    virtual IHostHeadSettings* GetHeadSettings() = 0;
    // The live channel-group tables (also a settings block).
    virtual IHostChannelGroupTables* GetGroupSettings() = 0;
    // The ink groups, looked up by id.
    virtual IHostGroupTable* GetGroupTable() = 0;
    // The live eclosion template list.
    virtual IHostEclosionTemplateList* GetEclosionTemplates() = 0;
    // Not 0 when editing dialogs may take a settings snapshot.
    virtual int32_t IsSnapshotEnabled() = 0;
};

// ---------------------------------------------------------------------------------------------
// Machine and parameters.

struct IHostPrinter {
    // A machine parameter by id (kParam...).
    virtual IHostParameter* GetParameter(int32_t nId) = 0;
    // The current ink group layout; null when there is none.
    virtual IHostGroupLayout* GetGroupLayout() = 0;
    // The machine's ink groups, looked up by id; null when there are none.
    virtual IHostGroupTable* GetGroupTable() = 0;
    // The print mode lists by task key; null when there is none.
    virtual IHostPrintModeTable* GetPrintModeTable() = 0;
    // Machine status values.
    virtual IHostMachineInfo* GetMachineInfo() = 0;
    // Takes a new settings snapshot, owned by the caller until ReleaseSnapshot.
    virtual IHostSnapshot* CreateSnapshot() = 0;
    // Gives back a snapshot made by CreateSnapshot.
    virtual void ReleaseSnapshot(IHostSnapshot* pSnapshot) = 0;
};

struct IHostParameter {
    // Writes the value as an integer; the caller presets *pnValue.
    virtual void GetIntValue(int32_t* pnValue) = 0;
    // Writes the value as a double (mm for lengths); the caller presets *pdValue.
    virtual void GetDoubleValue(double* pdValue) = 0;
    // Stores a double value (mm for lengths); the module always passes nFlags = 0.
    virtual void SetDoubleValue(double dValue, int32_t nFlags) = 0;
};

// ---------------------------------------------------------------------------------------------
// Print modes.

struct IHostPrintModeTable {
    // The print mode list of a task, by the task's key; null when there is none.
    virtual IHostPrintModeList* GetModeList(int32_t nKey) = 0;
};

struct IHostPrintModeList {
    // Number of modes in the list.
    virtual int32_t GetCount() = 0;
    // The mode at a 0-based index; null when the index holds none.
    virtual IHostPrintMode* GetAt(int32_t nIndex) = 0;
};

struct IHostPrintMode {
    // Not 0 when the mode is never offered.
    virtual int32_t IsHidden() = 0;
    // Availability of the mode for a layout index; kPrintModeUnavailable when it cannot be used.
    virtual int32_t GetAvailability(int32_t nLayoutIndex) = 0;
    // The mode's name.
    virtual const char* GetName() = 0;
};

struct IHostTask {
    // Key of the task's print mode list in IHostPrintModeTable.
    virtual int32_t GetModeListKey() = 0;
    // Index of the task's current mode in its mode list.
    virtual int32_t GetPrintMode() = 0;
    // Sets the task's mode by its index in the mode list.
    virtual void SetPrintMode(uint32_t nModeIndex) = 0;
};

// ---------------------------------------------------------------------------------------------
// Ink groups.

struct IHostGroupLayout {
    // Index of the current layout, as print modes know it.
    virtual int32_t GetLayoutIndex() = 0;
    // Ids of the ink groups in use, in order; null when there are none.
    virtual IHostIdList* GetGroupIdList() = 0;
};

struct IHostIdList {
    // Number of entries.
    virtual int32_t GetCount() = 0;
    // The entry at a 0-based index; its low 16 bits are an ink group id.
    virtual uint32_t GetAt(int32_t nIndex) = 0;
};

struct IHostGroupTable {
    // The ink group with a 16-bit id; null when there is none.
    virtual IHostGroup* FindGroup(uint16_t nId) = 0;
};

struct IHostGroup {
    // Number of members.
    virtual int32_t GetMemberCount() = 0;
    // The member at a 0-based index.
    virtual IHostGroupMember* GetMember(int32_t nIndex) = 0;
    // The ink group's name; may be null.
    virtual const char* GetName() = 0;
    // The ink colour as 0x00BBGGRR.
    virtual uint32_t GetColor() = 0;
};

struct IHostGroupMember {
    // 16-bit id of the member: the cut-ink row index it claims.
    virtual uint16_t GetId() = 0;
};

// ---------------------------------------------------------------------------------------------
// Heads and channels.

struct IHostHeadConfig {
    // Number of heads.
    virtual int32_t GetHeadCount() = 0;
    // Number of channels per head.
    virtual int32_t GetChannelCount() = 0;
    // Index of the active configuration; negative when there is none.
    virtual int32_t GetActiveIndex() = 0;
    // The base channel of every head; null when there is none.
    virtual IHostBaseChannelList* GetBaseChannelList() = 0;
    // The live channel groups; null when there are none.
    virtual IHostChannelGroupList* GetChannelGroups() = 0;
    // The heads with their channels; null when there is none.
    virtual IHostHeadTable* GetHeadTable() = 0;
    // Head index (0-based) of the base channel list entry at a 0-based index.
    virtual int32_t GetBaseHead(int32_t nIndex) = 0;
    // A channel by 0-based head and channel; null when there is none.
    virtual IHostChannel* GetChannel(int32_t nHead, int32_t nChannel) = 0;
};

struct IHostHeadTable {
    // Configuration id that the matching channel-group table sets carry.
    virtual uint32_t GetConfigId() = 0;
    // Number of heads.
    virtual int32_t GetHeadCount() = 0;
    // The head at a 0-based index; null when there is none.
    virtual IHostHead* GetHead(int32_t nIndex) = 0;
};

struct IHostHead {
    // Number of channels of the head.
    virtual int32_t GetChannelCount() = 0;
    // The channel at a 0-based index; null when there is none.
    virtual IHostChannel* GetChannel(int32_t nIndex) = 0;
};

struct IHostChannel {
    // 16-bit id of the ink group the channel prints.
    virtual uint16_t GetGroupId() = 0;
    // Makes the channel print another ink group.
    virtual void SetGroupId(uint16_t nGroupId) = 0;
};

struct IHostBaseChannelList {
    // Number of channels of all heads together.
    virtual uint32_t GetChannelTotal() = 0;
    // Number of entries (one per head).
    virtual int32_t GetCount() = 0;
    // Removes every entry.
    virtual void Clear() = 0;
    // Appends an entry with a channel group id and an entry id; the module passes (0, 0).
    virtual void Add(uint16_t nGroupId, uint16_t nEntryId) = 0;
    // The entry at a 0-based index; null when there is none.
    virtual IHostBaseChannel* GetAt(int32_t nIndex) = 0;
};

struct IHostBaseChannel {
    // 16-bit id of the channel group that holds the base channel.
    virtual uint16_t GetGroupId() = 0;
    // Id of the channel-group entry of the base channel; its low 16 bits count.
    virtual uint32_t GetEntryId() = 0;
    // Sets the channel group of the base channel.
    virtual void SetGroupId(uint16_t nGroupId) = 0;
    // Sets the channel-group entry of the base channel.
    virtual void SetEntryId(uint16_t nEntryId) = 0;
};

// ---------------------------------------------------------------------------------------------
// Channel groups and their table sets.

struct IHostChannelGroupList {
    // Number of channel groups.
    virtual int32_t GetCount() = 0;
    // The channel group at a 0-based index; null when there is none.
    virtual IHostChannelGroup* GetAt(int32_t nIndex) = 0;
};

struct IHostChannelGroup {
    // Id of the channel group; its low 16 bits count.
    virtual uint32_t GetId() = 0;
    // Number of entries.
    virtual int32_t GetEntryCount() = 0;
    // The entry at a 0-based index; null when there is none.
    virtual IHostChannelEntry* GetEntry(int32_t nIndex) = 0;
};

struct IHostChannelEntry {
    // 16-bit id of the entry within its channel group.
    virtual uint16_t GetId() = 0;
    // 0-based head the entry belongs to.
    virtual int32_t GetHead() = 0;
    // Moves the entry to another head.
    virtual void SetHead(int32_t nHead) = 0;
    // Number of channel positions.
    virtual int32_t GetChannelCount() = 0;
    // 0-based channel of the head at a position; its low 16 bits count.
    virtual uint32_t GetChannel(int32_t nPosition) = 0;
    // Sets the channel at a position.
    virtual void SetChannel(int32_t nPosition, uint16_t nChannel) = 0;
    // First of the four properties that together give the entry's kind.
    virtual uint32_t GetPropertyA() = 0;
    // Second kind property.
    virtual uint32_t GetPropertyB() = 0;
    // Third kind property.
    virtual uint32_t GetPropertyC() = 0;
    // Fourth kind property.
    virtual uint32_t GetPropertyD() = 0;
};

struct IHostChannelGroupTables {
    // Number of table sets.
    virtual int32_t GetCount() = 0;
    // The table set at a 0-based index; null when there is none.
    virtual IHostGroupTableSet* GetAt(int32_t nIndex) = 0;
    // The block's settings data, for snapshot copies.
    virtual IHostSettingsData* GetData() = 0;
};

struct IHostGroupTableSet {
    // Configuration id the set belongs to (compared with IHostHeadTable::GetConfigId).
    virtual uint32_t GetConfigId() = 0;
    // Number of channel-group lists in the set.
    virtual int32_t GetListCount() = 0;
    // The channel-group list at a 0-based index; null when there is none.
    virtual IHostChannelGroupList* GetList(int32_t nIndex) = 0;
};

// ---------------------------------------------------------------------------------------------
// Settings snapshots. A snapshot is a tree of nodes that all offer IHostSnapshot: from the
// snapshot, GetContent then GetSettings reach the node holding the head and group settings, and
// GetSection then GetSubsection the node holding the eclosion templates. A node returns null for
// what it does not hold.

struct IHostSnapshot {
    // The snapshot's content node.
    virtual IHostSnapshot* GetContent() = 0;
    // The settings node below the content node.
    virtual IHostSnapshot* GetSettings() = 0;
    // The head settings block held by a settings node.
    virtual IHostHeadSettings* GetHeadSettings() = 0;
    // The channel-group tables block held by a settings node.
    virtual IHostChannelGroupTables* GetGroupSettings() = 0;
    // The snapshot's section node.
    virtual IHostSnapshot* GetSection() = 0;
    // The subsection node below a section node.
    virtual IHostSnapshot* GetSubsection() = 0;
    // The eclosion template list held by a subsection node.
    virtual IHostEclosionTemplateList* GetEclosionTemplates() = 0;
};

struct IHostHeadSettings {
    // The block's settings data, for snapshot copies.
    virtual IHostSettingsData* GetData() = 0;
};

struct IHostSettingsData {
    // Replaces this data with a copy of another block of the same kind.
    virtual void CopyFrom(IHostSettingsData* pSource) = 0;
};

// ---------------------------------------------------------------------------------------------
// Eclosion templates.

struct IHostEclosionTemplateList {
    // The list's settings data, for snapshot copies.
    virtual IHostSettingsData* GetData() = 0;
    // 0-based index of the template being edited; negative when none.
    virtual int32_t GetCurrentIndex() = 0;
    // Sets the template being edited; 0xFFFFFFFF (-1) means none.
    virtual void SetCurrentIndex(uint32_t nIndex) = 0;
    // Number of templates.
    virtual int32_t GetCount() = 0;
    // Appends a template made with the host's defaults; null when none could be made.
    virtual IHostEclosionTemplate* AddTemplate() = 0;
    // The template at a 0-based index; null when there is none.
    virtual IHostEclosionTemplate* GetTemplate(int32_t nIndex) = 0;
    // Removes the template at a 0-based index.
    virtual void DeleteTemplate(int32_t nIndex) = 0;
};

struct IHostEclosionTemplate {
    // Stores the template's name.
    virtual void SetName(const char* pszName) = 0;
    // Not 0 for a default template, 0 for a custom one.
    virtual uint32_t IsDefault() = 0;
    // Makes the template default (1) or custom (0).
    virtual void SetDefault(uint32_t nDefault) = 0;
    // Eclosion range, 0 to 200.
    virtual int32_t GetRange() = 0;
    // Sets the eclosion range.
    virtual void SetRange(int32_t nRange) = 0;
    // 0-based index of the mode shown when the template is selected.
    virtual uint32_t GetCurrentMode() = 0;
    // Sets the mode shown when the template is selected.
    virtual void SetCurrentMode(uint32_t nMode) = 0;
    // Number of modes.
    virtual int32_t GetModeCount() = 0;
    // Appends a mode made with the host's defaults; null when none could be made.
    virtual IHostEclosionMode* AddMode() = 0;
    // The mode at a 0-based index; null when there is none.
    virtual IHostEclosionMode* GetMode(int32_t nIndex) = 0;
    // Removes the mode at a 0-based index.
    virtual void DeleteMode(int32_t nIndex) = 0;
};

struct IHostEclosionMode {
    // Number of elements.
    virtual int32_t GetElementCount() = 0;
    // Appends an element made with the host's defaults; null when none could be made.
    virtual IHostEclosionElement* AddElement() = 0;
    // The element at a 0-based index; null when there is none.
    virtual IHostEclosionElement* GetElement(int32_t nIndex) = 0;
    // Removes the element at a 0-based index; later elements move up.
    virtual void DeleteElement(int32_t nIndex) = 0;
};

struct IHostEclosionElement {
    // Width in units, 1 to 8.
    virtual uint32_t GetWidth() = 0;
    // Sets the width in units.
    virtual void SetWidth(uint8_t nWidth) = 0;
    // Height in units, 1 to 8.
    virtual uint32_t GetHeight() = 0;
    // Sets the height in units.
    virtual void SetHeight(uint8_t nHeight) = 0;
};

// ---------------------------------------------------------------------------------------------
// Machine status.

struct IHostMachineInfo {
    // Second number of status code 2.
    virtual int32_t GetStatusValueA() = 0;
    // Second number of status code 3.
    virtual int32_t GetStatusValueB() = 0;
};

struct IHostController {
    // Source of the controller's status byte.
    virtual IHostStatusSource* GetStatusSource() = 0;
};

struct IHostStatusSource {
    // Status code 4; only its low 8 bits count.
    virtual uint32_t GetStatusByte() = 0;
};
