// Host objects whose every answer comes from the fuzzer's bytes: counts that are small, negative, huge or
// change between two reads, objects that are there or null, ids, names and values. The objects live as
// long as the graph. No window involved.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PivoraHost.h"

class FuzzGraph;

// Every host object of the graph; it answers from the graph's bytes.
struct FuzzObject {
    explicit FuzzObject(FuzzGraph& graph) : g(graph) {}
    virtual ~FuzzObject() = default;
    FuzzGraph& g;
};

class FuzzGraph {
public:
    FuzzGraph(const uint8_t* pData, size_t nSize) : m_input(pData, nSize) {}

    FuzzedDataProvider m_input;

    // A count as a host might give it: mostly small, sometimes negative or huge.
    int32_t Count() {
        switch (m_input.ConsumeIntegralInRange<int>(0, 9)) {
        case 0:
            return -1;
        case 1:
            return INT32_MIN;
        case 2:
            return INT32_MAX;
        case 3:
            return m_input.ConsumeIntegral<int32_t>();
        default:
            return m_input.ConsumeIntegralInRange<int32_t>(0, 40);
        }
    }
    bool Present() { return m_input.ConsumeIntegralInRange<int>(0, 7) != 0; }
    // A list's count, remembered: a correct module asks for no index outside the count it was last told.
    int32_t Told(int32_t& nLastCount) { return nLastCount = Count(); }
    static void Listed(int32_t nIndex, int32_t nLastCount) {
        if (nIndex < 0 || nIndex >= nLastCount)
            __builtin_trap();
    }

    template <class T, class... Args> T* Make(Args&&... args) {
        auto pObject = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* p = pObject.get();
        m_objects.push_back(std::move(pObject));
        return p;
    }
    template <class T, class... Args> T* MaybeMake(Args&&... args) {
        return Present() ? Make<T>(std::forward<Args>(args)...) : nullptr;
    }
    // A name that lives as long as the graph; null sometimes.
    const char* Name() {
        if (!Present())
            return nullptr;
        m_names.push_back(m_input.ConsumeRandomLengthString(80));
        return m_names.back().c_str();
    }

private:
    std::vector<std::unique_ptr<FuzzObject>> m_objects;
    std::vector<std::string> m_names;
};

struct FuzzParameter final : IHostParameter, FuzzObject {
    using FuzzObject::FuzzObject;
    void GetIntValue(int32_t* pnValue) override {
        if (g.Present())
            *pnValue = g.m_input.ConsumeIntegral<int32_t>();
    }
    void GetDoubleValue(double* pdValue) override {
        if (g.Present())
            *pdValue = g.m_input.ConsumeFloatingPoint<double>();
    }
    void SetDoubleValue(double dValue, int32_t) override { m_dStored = dValue; }
    double m_dStored = 0;
};

struct FuzzGroupMember final : IHostGroupMember, FuzzObject {
    using FuzzObject::FuzzObject;
    uint16_t GetId() override { return g.m_input.ConsumeIntegralInRange<uint16_t>(0, 40); }
};

// A group keeps the member count it was made with, or answers a new one at every read; past its real
// members (at most 40) it has none, whatever count it reports.
struct FuzzGroup final : IHostGroup, FuzzObject {
    explicit FuzzGroup(FuzzGraph& graph)
        : FuzzObject(graph), m_nCount(g.Count()), m_bCountChanges(g.m_input.ConsumeBool()) {}
    int32_t GetMemberCount() override { return m_nLast = m_bCountChanges ? g.Count() : m_nCount; }
    IHostGroupMember* GetMember(int32_t nIndex) override {
        FuzzGraph::Listed(nIndex, m_nLast);
        return nIndex < 40 ? g.MaybeMake<FuzzGroupMember>() : nullptr;
    }
    const char* GetName() override { return g.Name(); }
    uint32_t GetColor() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    int32_t m_nCount;
    bool m_bCountChanges;
    int32_t m_nLast = INT32_MIN;
};

struct FuzzGroupTable final : IHostGroupTable, FuzzObject {
    using FuzzObject::FuzzObject;
    IHostGroup* FindGroup(uint16_t) override { return g.MaybeMake<FuzzGroup>(); }
};

struct FuzzIdList final : IHostIdList, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t GetCount() override { return g.Told(m_nLast); }
    uint32_t GetAt(int32_t nIndex) override {
        FuzzGraph::Listed(nIndex, m_nLast);
        return g.m_input.ConsumeIntegral<uint32_t>();
    }
    int32_t m_nLast = INT32_MIN;
};

struct FuzzGroupLayout final : IHostGroupLayout, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t GetLayoutIndex() override { return g.m_input.ConsumeIntegral<int32_t>(); }
    IHostIdList* GetGroupIdList() override { return g.MaybeMake<FuzzIdList>(); }
};

struct FuzzPrintMode final : IHostPrintMode, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t IsHidden() override { return g.m_input.ConsumeIntegralInRange<int32_t>(-1, 1); }
    int32_t GetAvailability(int32_t) override {
        return g.m_input.ConsumeBool() ? kPrintModeUnavailable : g.m_input.ConsumeIntegral<int32_t>();
    }
    const char* GetName() override { return g.Name(); }
};

struct FuzzPrintModeList final : IHostPrintModeList, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t GetCount() override { return g.Told(m_nLast); }
    IHostPrintMode* GetAt(int32_t nIndex) override {
        FuzzGraph::Listed(nIndex, m_nLast);
        return g.MaybeMake<FuzzPrintMode>();
    }
    int32_t m_nLast = INT32_MIN;
};

struct FuzzPrintModeTable final : IHostPrintModeTable, FuzzObject {
    using FuzzObject::FuzzObject;
    IHostPrintModeList* GetModeList(int32_t) override { return g.MaybeMake<FuzzPrintModeList>(); }
};

struct FuzzTask final : IHostTask, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t GetModeListKey() override { return g.m_input.ConsumeIntegral<int32_t>(); }
    int32_t GetPrintMode() override { return g.m_input.ConsumeIntegral<int32_t>(); }
    void SetPrintMode(uint32_t) override {}
};

struct FuzzPrinter final : IHostPrinter, FuzzObject {
    using FuzzObject::FuzzObject;
    IHostParameter* GetParameter(int32_t) override { return g.MaybeMake<FuzzParameter>(); }
    IHostGroupLayout* GetGroupLayout() override { return g.MaybeMake<FuzzGroupLayout>(); }
    IHostGroupTable* GetGroupTable() override { return g.MaybeMake<FuzzGroupTable>(); }
    IHostPrintModeTable* GetPrintModeTable() override { return g.MaybeMake<FuzzPrintModeTable>(); }
    IHostMachineInfo* GetMachineInfo() override { return nullptr; }
    IHostSnapshot* CreateSnapshot() override { return nullptr; }
    void ReleaseSnapshot(IHostSnapshot*) override {}
};

struct FuzzEclosionElement final : IHostEclosionElement, FuzzObject {
    using FuzzObject::FuzzObject;
    uint32_t GetWidth() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    void SetWidth(uint8_t) override {}
    uint32_t GetHeight() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    void SetHeight(uint8_t) override {}
};

struct FuzzEclosionMode final : IHostEclosionMode, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t GetElementCount() override { return g.Told(m_nLast); }
    IHostEclosionElement* AddElement() override { return g.MaybeMake<FuzzEclosionElement>(); }
    IHostEclosionElement* GetElement(int32_t nIndex) override {
        FuzzGraph::Listed(nIndex, m_nLast);
        return g.MaybeMake<FuzzEclosionElement>();
    }
    void DeleteElement(int32_t nIndex) override { FuzzGraph::Listed(nIndex, m_nLast); }
    int32_t m_nLast = INT32_MIN;
};

struct FuzzEclosionTemplate final : IHostEclosionTemplate, FuzzObject {
    using FuzzObject::FuzzObject;
    void SetName(const char* pszName) override { m_strName = pszName ? pszName : ""; }
    uint32_t IsDefault() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    void SetDefault(uint32_t) override {}
    int32_t GetRange() override { return g.m_input.ConsumeIntegral<int32_t>(); }
    void SetRange(int32_t) override {}
    uint32_t GetCurrentMode() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    void SetCurrentMode(uint32_t) override {}
    int32_t GetModeCount() override { return g.Told(m_nLast); }
    IHostEclosionMode* AddMode() override { return g.MaybeMake<FuzzEclosionMode>(); }
    IHostEclosionMode* GetMode(int32_t nIndex) override {
        FuzzGraph::Listed(nIndex, m_nLast);
        return g.MaybeMake<FuzzEclosionMode>();
    }
    void DeleteMode(int32_t nIndex) override { FuzzGraph::Listed(nIndex, m_nLast); }
    std::string m_strName;
    int32_t m_nLast = INT32_MIN;
};

struct FuzzEclosionTemplateList final : IHostEclosionTemplateList, FuzzObject {
    using FuzzObject::FuzzObject;
    IHostSettingsData* GetData() override { return nullptr; }
    int32_t GetCurrentIndex() override { return g.m_input.ConsumeIntegral<int32_t>(); }
    void SetCurrentIndex(uint32_t) override {}
    int32_t GetCount() override { return g.Told(m_nLast); }
    IHostEclosionTemplate* AddTemplate() override { return g.MaybeMake<FuzzEclosionTemplate>(); }
    IHostEclosionTemplate* GetTemplate(int32_t nIndex) override {
        FuzzGraph::Listed(nIndex, m_nLast);
        return g.MaybeMake<FuzzEclosionTemplate>();
    }
    void DeleteTemplate(int32_t nIndex) override { FuzzGraph::Listed(nIndex, m_nLast); }
    int32_t m_nLast = INT32_MIN;
};
