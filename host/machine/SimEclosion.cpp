#include "SimEclosion.h"

#include <algorithm>

#include "SimCallLog.h"

namespace {

template <typename T>
bool InRange(SimCallLog& log, const char* pszCall, const char* pszCountCall, const std::vector<T>& items,
             int32_t nIndex) {
    return log.InList(pszCall, pszCountCall, nIndex, items.size());
}

} // namespace

uint32_t SimEclosionElement::GetWidth() {
    m_log.Add("EclosionElement.GetWidth");
    return m_nWidth;
}

void SimEclosionElement::SetWidth(uint8_t nWidth) {
    m_log.Add("EclosionElement.SetWidth(" + std::to_string(nWidth) + ")");
    m_nWidth = nWidth;
}

uint32_t SimEclosionElement::GetHeight() {
    m_log.Add("EclosionElement.GetHeight");
    return m_nHeight;
}

void SimEclosionElement::SetHeight(uint8_t nHeight) {
    m_log.Add("EclosionElement.SetHeight(" + std::to_string(nHeight) + ")");
    m_nHeight = nHeight;
}

// ---------------------------------------------------------------------------------------------------------

int32_t SimEclosionMode::GetElementCount() {
    m_log.Add("EclosionMode.GetElementCount");
    return m_log.Count("EclosionMode.GetElementCount", static_cast<int32_t>(m_elements.size()));
}

IHostEclosionElement* SimEclosionMode::AddElement() {
    m_log.Add("EclosionMode.AddElement");
    if (!m_log.Answer<IHostEclosionMode>("EclosionMode.AddElement", this))
        return nullptr;
    return &Add(1, 1);
}

IHostEclosionElement* SimEclosionMode::GetElement(int32_t nIndex) {
    m_log.Add("EclosionMode.GetElement(" + std::to_string(nIndex) + ")");
    return m_log.Answer<IHostEclosionElement>(
        "EclosionMode.GetElement",
        InRange(m_log, "EclosionMode.GetElement", "EclosionMode.GetElementCount", m_elements, nIndex)
            ? m_elements[static_cast<size_t>(nIndex)].get()
            : nullptr);
}

void SimEclosionMode::DeleteElement(int32_t nIndex) {
    m_log.Add("EclosionMode.DeleteElement(" + std::to_string(nIndex) + ")");
    if (InRange(m_log, "EclosionMode.DeleteElement", "EclosionMode.GetElementCount", m_elements, nIndex))
        m_elements.erase(m_elements.begin() + nIndex);
}

SimEclosionElement& SimEclosionMode::Add(uint32_t nWidth, uint32_t nHeight) {
    m_elements.push_back(std::make_unique<SimEclosionElement>(m_log, nWidth, nHeight));
    return *m_elements.back();
}

// ---------------------------------------------------------------------------------------------------------

void SimEclosionTemplate::SetName(const char* pszName) {
    m_strName = pszName ? pszName : "";
    m_log.Add("EclosionTemplate.SetName(" + m_strName + ")");
}

uint32_t SimEclosionTemplate::IsDefault() {
    m_log.Add("EclosionTemplate.IsDefault");
    return m_nDefault;
}

void SimEclosionTemplate::SetDefault(uint32_t nDefault) {
    m_log.Add("EclosionTemplate.SetDefault(" + std::to_string(nDefault) + ")");
    m_nDefault = nDefault;
}

int32_t SimEclosionTemplate::GetRange() {
    m_log.Add("EclosionTemplate.GetRange");
    return m_nRange;
}

void SimEclosionTemplate::SetRange(int32_t nRange) {
    m_log.Add("EclosionTemplate.SetRange(" + std::to_string(nRange) + ")");
    m_nRange = nRange;
}

uint32_t SimEclosionTemplate::GetCurrentMode() {
    m_log.Add("EclosionTemplate.GetCurrentMode");
    return m_nCurrentMode;
}

void SimEclosionTemplate::SetCurrentMode(uint32_t nMode) {
    m_log.Add("EclosionTemplate.SetCurrentMode(" + std::to_string(nMode) + ")");
    m_nCurrentMode = nMode;
}

int32_t SimEclosionTemplate::GetModeCount() {
    m_log.Add("EclosionTemplate.GetModeCount");
    return m_log.Count("EclosionTemplate.GetModeCount", static_cast<int32_t>(m_modes.size()));
}

IHostEclosionMode* SimEclosionTemplate::AddMode() {
    m_log.Add("EclosionTemplate.AddMode");
    if (!m_log.Answer<IHostEclosionTemplate>("EclosionTemplate.AddMode", this))
        return nullptr;
    return &Add();
}

IHostEclosionMode* SimEclosionTemplate::GetMode(int32_t nIndex) {
    m_log.Add("EclosionTemplate.GetMode(" + std::to_string(nIndex) + ")");
    return m_log.Answer<IHostEclosionMode>(
        "EclosionTemplate.GetMode",
        InRange(m_log, "EclosionTemplate.GetMode", "EclosionTemplate.GetModeCount", m_modes, nIndex)
            ? m_modes[static_cast<size_t>(nIndex)].get()
            : nullptr);
}

void SimEclosionTemplate::DeleteMode(int32_t nIndex) {
    m_log.Add("EclosionTemplate.DeleteMode(" + std::to_string(nIndex) + ")");
    if (InRange(m_log, "EclosionTemplate.DeleteMode", "EclosionTemplate.GetModeCount", m_modes, nIndex))
        m_modes.erase(m_modes.begin() + nIndex);
}

SimEclosionMode& SimEclosionTemplate::Add() {
    m_modes.push_back(std::make_unique<SimEclosionMode>(m_log));
    return *m_modes.back();
}

// ---------------------------------------------------------------------------------------------------------

void SimEclosionListData::CopyFrom(IHostSettingsData* pSource) {
    m_list.m_log.Add(m_list.m_strLogName + ".Data.CopyFrom");
    // Only a block of the same kind can be copied; anything else leaves the list as it is.
    if (auto* pData = dynamic_cast<SimEclosionListData*>(pSource); pData && pData != this)
        m_list.CopyContents(pData->m_list);
}

IHostSettingsData* SimEclosionTemplateList::GetData() {
    m_log.Add(m_strLogName + ".GetData");
    return m_log.Answer<IHostSettingsData>("Eclosion.GetData", m_bHasData ? &m_data : nullptr);
}

int32_t SimEclosionTemplateList::GetCurrentIndex() {
    m_log.Add(m_strLogName + ".GetCurrentIndex");
    return m_nCurrentIndex;
}

void SimEclosionTemplateList::SetCurrentIndex(uint32_t nIndex) {
    m_log.Add(m_strLogName + ".SetCurrentIndex(" + std::to_string(static_cast<int32_t>(nIndex)) + ")");
    m_nCurrentIndex = static_cast<int32_t>(nIndex);
}

int32_t SimEclosionTemplateList::GetCount() {
    m_log.Add(m_strLogName + ".GetCount");
    return m_log.Count("Eclosion.GetCount", static_cast<int32_t>(m_templates.size()));
}

IHostEclosionTemplate* SimEclosionTemplateList::AddTemplate() {
    m_log.Add(m_strLogName + ".AddTemplate");
    if (m_bAddFails || !m_log.Answer<IHostEclosionTemplateList>("Eclosion.AddTemplate", this))
        return nullptr;
    m_templates.push_back(std::make_unique<SimEclosionTemplate>(m_log));
    return m_templates.back().get();
}

IHostEclosionTemplate* SimEclosionTemplateList::GetTemplate(int32_t nIndex) {
    m_log.Add(m_strLogName + ".GetTemplate(" + std::to_string(nIndex) + ")");
    return m_log.Answer<IHostEclosionTemplate>(
        "Eclosion.GetTemplate",
        InRange(m_log, "Eclosion.GetTemplate", "Eclosion.GetCount", m_templates, nIndex)
            ? m_templates[static_cast<size_t>(nIndex)].get()
            : nullptr);
}

void SimEclosionTemplateList::DeleteTemplate(int32_t nIndex) {
    m_log.Add(m_strLogName + ".DeleteTemplate(" + std::to_string(nIndex) + ")");
    if (InRange(m_log, "Eclosion.DeleteTemplate", "Eclosion.GetCount", m_templates, nIndex))
        m_templates.erase(m_templates.begin() + nIndex);
}

SimEclosionTemplate& SimEclosionTemplateList::Add(const std::string& strName, bool bDefault, int32_t nRange) {
    auto pTemplate = std::make_unique<SimEclosionTemplate>(m_log);
    pTemplate->m_strName = strName;
    pTemplate->m_nDefault = bDefault ? 1 : 0;
    pTemplate->m_nRange = nRange;
    m_templates.push_back(std::move(pTemplate));
    return *m_templates.back();
}

void SimEclosionTemplateList::CopyContents(const SimEclosionTemplateList& source) {
    std::vector<std::unique_ptr<SimEclosionTemplate>> copies;
    for (const auto& pFrom : source.m_templates) {
        if (!pFrom) {
            copies.emplace_back();
            continue;
        }
        auto pTo = std::make_unique<SimEclosionTemplate>(m_log);
        pTo->m_strName = pFrom->m_strName;
        pTo->m_nDefault = pFrom->m_nDefault;
        pTo->m_nRange = pFrom->m_nRange;
        pTo->m_nCurrentMode = pFrom->m_nCurrentMode;
        for (const auto& pMode : pFrom->m_modes) {
            SimEclosionMode& mode = pTo->Add();
            for (const auto& pElement : pMode->m_elements)
                mode.Add(pElement->m_nWidth, pElement->m_nHeight);
        }
        copies.push_back(std::move(pTo));
    }
    m_templates = std::move(copies);
    m_nCurrentIndex = source.m_nCurrentIndex;
}

// ---------------------------------------------------------------------------------------------------------

void SimSnapshotNode::Used() {
    if (m_bReleased)
        m_log.Violation("Snapshot used after it was released");
}

IHostSnapshot* SimSnapshotNode::GetContent() {
    m_log.Add("Snapshot.GetContent");
    Used();
    return m_kind == Kind::Root ? m_pContent : nullptr;
}

IHostSnapshot* SimSnapshotNode::GetSettings() {
    m_log.Add("Snapshot.GetSettings");
    Used();
    return m_kind == Kind::Content ? m_pContent : nullptr;
}

IHostHeadSettings* SimSnapshotNode::GetHeadSettings() {
    m_log.Add("Snapshot.GetHeadSettings");
    Used();
    return m_kind == Kind::Settings ? m_pHeadSettings : nullptr;
}

IHostChannelGroupTables* SimSnapshotNode::GetGroupSettings() {
    m_log.Add("Snapshot.GetGroupSettings");
    Used();
    return m_kind == Kind::Settings ? m_pGroupSettings : nullptr;
}

IHostSnapshot* SimSnapshotNode::GetSection() {
    m_log.Add("Snapshot.GetSection");
    Used();
    return m_log.Answer<IHostSnapshot>("Snapshot.GetSection", m_kind == Kind::Root ? m_pChild : nullptr);
}

IHostSnapshot* SimSnapshotNode::GetSubsection() {
    m_log.Add("Snapshot.GetSubsection");
    Used();
    return m_log.Answer<IHostSnapshot>("Snapshot.GetSubsection",
                                       m_kind == Kind::Section ? m_pChild : nullptr);
}

IHostEclosionTemplateList* SimSnapshotNode::GetEclosionTemplates() {
    m_log.Add("Snapshot.GetEclosionTemplates");
    Used();
    return m_log.Answer<IHostEclosionTemplateList>("Snapshot.GetEclosionTemplates",
                                                   m_kind == Kind::Subsection ? m_pTemplates : nullptr);
}

SimSnapshot::SimSnapshot(SimCallLog& log)
    : m_root(log, SimSnapshotNode::Kind::Root), m_section(log, SimSnapshotNode::Kind::Section),
      m_subsection(log, SimSnapshotNode::Kind::Subsection), m_templates(log),
      m_content(log, SimSnapshotNode::Kind::Content), m_settings(log, SimSnapshotNode::Kind::Settings),
      m_headSettings(log, "SnapshotHeadSettings", nullptr), m_groupSettings(log, "SnapshotGroupSettings") {
    m_root.m_pContent = &m_content;
    m_content.m_pContent = &m_settings;
    m_settings.m_pHeadSettings = &m_headSettings;
    m_settings.m_pGroupSettings = &m_groupSettings;
    m_root.m_pChild = &m_section;
    m_section.m_pChild = &m_subsection;
    m_subsection.m_pTemplates = &m_templates;
    m_templates.m_strLogName = "SnapshotEclosionList";
}

IHostSnapshot* SimSnapshots::Create() {
    if (m_bCreateFails)
        return nullptr;
    m_outstanding.push_back(std::make_unique<SimSnapshot>(m_log));
    SimSnapshot& snapshot = *m_outstanding.back();
    if (!m_bHasSection)
        snapshot.m_root.m_pChild = nullptr;
    if (!m_bHasContent)
        snapshot.m_root.m_pContent = nullptr;
    ++m_nCreated;
    return &snapshot.m_root;
}

SimSnapshot* SimSnapshots::Find(IHostSnapshot* pSnapshot) const {
    for (const auto& p : m_outstanding) {
        if (&p->m_root == pSnapshot)
            return p.get();
    }
    return nullptr;
}

bool SimSnapshots::Release(IHostSnapshot* pSnapshot) {
    auto it = std::find_if(m_outstanding.begin(), m_outstanding.end(),
                           [pSnapshot](const auto& p) { return &p->m_root == pSnapshot; });
    if (it == m_outstanding.end()) {
        ++m_nBadReleases;
        m_log.Violation(
            "Printer.ReleaseSnapshot: not an outstanding snapshot (released twice, or never made)");
        return false;
    }
    // The last one released is kept, marked: a call into it is the module's fault, not a crash. Only the
    // last, so that the host's own memory stays flat over many dialogs (the handle count test weighs it).
    for (SimSnapshotNode* pNode :
         {&(*it)->m_root, &(*it)->m_section, &(*it)->m_subsection, &(*it)->m_content, &(*it)->m_settings})
        pNode->m_bReleased = true;
    m_released.clear();
    m_released.push_back(std::move(*it));
    m_outstanding.erase(it);
    return true;
}

void AddDefaultEclosionTemplates(SimEclosionTemplateList& list) {
    const char* const kDefaultNames[] = {"Template1--Default", "Template2--Default", "Template3--Default",
                                         "Template4--Default"};
    int32_t nRange = 10;
    for (const char* pszName : kDefaultNames) {
        SimEclosionTemplate& t = list.Add(pszName, true, nRange);
        nRange += 10;
        for (int nMode = 0; nMode < 2; ++nMode) {
            SimEclosionMode& mode = t.Add();
            mode.Add(1, 1);
            mode.Add(1, 1);
        }
    }
    SimEclosionTemplate& fine = list.Add("Template5--Custom", false, 60);
    fine.Add().Add(2, 2);
    SimEclosionMode& shown = fine.Add();
    shown.Add(3, 2);
    shown.Add(5, 4);
    fine.Add().Add(8, 8);
    fine.m_nCurrentMode = 1;
    SimEclosionTemplate& wide = list.Add("Template6--Custom", false, 120);
    wide.Add().Add(6, 1);
    list.m_nCurrentIndex = 4;
}
