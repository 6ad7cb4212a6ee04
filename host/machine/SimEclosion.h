// The simulated machine's eclosion templates and its settings snapshots: a template list with templates,
// modes and elements, the list's settings data that snapshot copies go through, and the snapshots the
// printer hands out and takes back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PivoraHost.h"
#include "SimHeads.h"

class SimCallLog;
class SimEclosionTemplateList;

class SimEclosionElement final : public IHostEclosionElement {
public:
    SimEclosionElement(SimCallLog& log, uint32_t nWidth, uint32_t nHeight)
        : m_nWidth(nWidth), m_nHeight(nHeight), m_log(log) {}
    uint32_t GetWidth() override;
    void SetWidth(uint8_t nWidth) override;
    uint32_t GetHeight() override;
    void SetHeight(uint8_t nHeight) override;

    uint32_t m_nWidth;
    uint32_t m_nHeight;

private:
    SimCallLog& m_log;
};

class SimEclosionMode final : public IHostEclosionMode {
public:
    explicit SimEclosionMode(SimCallLog& log) : m_log(log) {}
    int32_t GetElementCount() override;
    IHostEclosionElement* AddElement() override;
    IHostEclosionElement* GetElement(int32_t nIndex) override;
    void DeleteElement(int32_t nIndex) override;

    SimEclosionElement& Add(uint32_t nWidth, uint32_t nHeight);

    std::vector<std::unique_ptr<SimEclosionElement>> m_elements;

private:
    SimCallLog& m_log;
};

class SimEclosionTemplate final : public IHostEclosionTemplate {
public:
    explicit SimEclosionTemplate(SimCallLog& log) : m_log(log) {}
    void SetName(const char* pszName) override;
    uint32_t IsDefault() override;
    void SetDefault(uint32_t nDefault) override;
    int32_t GetRange() override;
    void SetRange(int32_t nRange) override;
    uint32_t GetCurrentMode() override;
    void SetCurrentMode(uint32_t nMode) override;
    int32_t GetModeCount() override;
    IHostEclosionMode* AddMode() override;
    IHostEclosionMode* GetMode(int32_t nIndex) override;
    void DeleteMode(int32_t nIndex) override;

    SimEclosionMode& Add();

    // What the host gives a template it appends: no name, custom, this range, no modes.
    static constexpr int32_t kNewRange = 20;

    std::string m_strName;
    uint32_t m_nDefault = 0;
    int32_t m_nRange = kNewRange;
    uint32_t m_nCurrentMode = 0;
    std::vector<std::unique_ptr<SimEclosionMode>> m_modes;

private:
    SimCallLog& m_log;
};

// The list's settings data: copying one into another copies the whole list.
class SimEclosionListData final : public IHostSettingsData {
public:
    explicit SimEclosionListData(SimEclosionTemplateList& list) : m_list(list) {}
    void CopyFrom(IHostSettingsData* pSource) override;

private:
    SimEclosionTemplateList& m_list;
};

class SimEclosionTemplateList final : public IHostEclosionTemplateList {
public:
    explicit SimEclosionTemplateList(SimCallLog& log) : m_data(*this), m_log(log) {}
    SimEclosionTemplateList(const SimEclosionTemplateList&) = delete;
    SimEclosionTemplateList& operator=(const SimEclosionTemplateList&) = delete;

    IHostSettingsData* GetData() override;
    int32_t GetCurrentIndex() override;
    void SetCurrentIndex(uint32_t nIndex) override;
    int32_t GetCount() override;
    IHostEclosionTemplate* AddTemplate() override;
    IHostEclosionTemplate* GetTemplate(int32_t nIndex) override;
    void DeleteTemplate(int32_t nIndex) override;

    // A template as the machine keeps it; its modes are added to it with Add.
    SimEclosionTemplate& Add(const std::string& strName, bool bDefault, int32_t nRange = 0);
    // A position the host holds but cannot return a template for.
    void AddGap() { m_templates.emplace_back(); }
    // Replaces everything with a copy of another list (what a snapshot copy does).
    void CopyContents(const SimEclosionTemplateList& source);

    std::vector<std::unique_ptr<SimEclosionTemplate>> m_templates;
    int32_t m_nCurrentIndex = -1;
    bool m_bAddFails = false; // AddTemplate returns null
    bool m_bHasData = true;   // GetData returns null when cleared
    std::string m_strLogName = "EclosionList";

private:
    friend class SimEclosionListData;
    SimEclosionListData m_data;
    SimCallLog& m_log;
};

// One snapshot node; from the root GetSection then GetSubsection lead to the copy of the eclosion
// templates, GetContent then GetSettings to the copies of the head and group settings.
class SimSnapshotNode final : public IHostSnapshot {
public:
    enum class Kind { Root, Section, Subsection, Content, Settings };
    SimSnapshotNode(SimCallLog& log, Kind kind) : m_kind(kind), m_log(log) {}
    IHostSnapshot* GetContent() override;
    IHostSnapshot* GetSettings() override;
    IHostHeadSettings* GetHeadSettings() override;
    IHostChannelGroupTables* GetGroupSettings() override;
    IHostSnapshot* GetSection() override;
    IHostSnapshot* GetSubsection() override;
    IHostEclosionTemplateList* GetEclosionTemplates() override;

    Kind m_kind;
    IHostSnapshot* m_pChild = nullptr;                 // section of the root, subsection of the section
    IHostEclosionTemplateList* m_pTemplates = nullptr; // held by the subsection
    IHostSnapshot* m_pContent = nullptr;               // content of the root, settings of the content
    IHostHeadSettings* m_pHeadSettings = nullptr;      // held by the settings node
    IHostChannelGroupTables* m_pGroupSettings = nullptr;
    bool m_bReleased = false;

private:
    void Used();
    SimCallLog& m_log;
};

class SimSnapshot {
public:
    explicit SimSnapshot(SimCallLog& log);
    SimSnapshot(const SimSnapshot&) = delete;
    SimSnapshot& operator=(const SimSnapshot&) = delete;

    SimSnapshotNode m_root;
    SimSnapshotNode m_section;
    SimSnapshotNode m_subsection;
    SimEclosionTemplateList m_templates; // starts empty: the editor copies the live list in
    SimSnapshotNode m_content;
    SimSnapshotNode m_settings;
    SimHeadSettings m_headSettings; // both start empty: the switch dialog copies the live blocks in
    SimChannelGroupTables m_groupSettings;
};

// The snapshots the printer has handed out and not yet taken back, and the host's setting that allows them.
class SimSnapshots {
public:
    explicit SimSnapshots(SimCallLog& log) : m_log(log) {}
    IHostSnapshot* Create();
    // False for a pointer that is not an outstanding snapshot (never made, or given back already).
    bool Release(IHostSnapshot* pSnapshot);
    SimSnapshot* Find(IHostSnapshot* pSnapshot) const;

    bool m_bEnabled = true;      // IsSnapshotEnabled
    bool m_bCreateFails = false; // CreateSnapshot returns null
    bool m_bHasSection = true;   // the snapshots made from now on lead to no template list when cleared
    bool m_bHasContent = true;   // ... and to no head or group settings when cleared
    int m_nCreated = 0;
    int m_nBadReleases = 0;
    std::vector<std::unique_ptr<SimSnapshot>> m_outstanding;
    std::vector<std::unique_ptr<SimSnapshot>> m_released;

private:
    SimCallLog& m_log;
};

// The templates the simulator's machine starts with: the four defaults and two custom ones, the first
// custom one being edited.
void AddDefaultEclosionTemplates(SimEclosionTemplateList& list);
