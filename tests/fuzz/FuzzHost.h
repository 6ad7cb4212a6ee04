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
        int nKind = m_input.ConsumeIntegralInRange<int>(0, 9);
        return nKind == 0   ? -1
               : nKind == 1 ? INT32_MIN
               : nKind == 2 ? INT32_MAX
               : nKind == 3 ? Int()
                            : Small();
    }
    int32_t Int() { return m_input.ConsumeIntegral<int32_t>(); }
    int32_t Small() { return m_input.ConsumeIntegralInRange<int32_t>(0, 40); }
    bool Present() { return m_input.ConsumeIntegralInRange<int>(0, 7) != 0; }

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

// A host list remembers the count it last told: a correct module asks for no index outside it.
struct FuzzList : FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t Told() { return m_nLast = g.Count(); }
    void Listed(int32_t nIndex) const {
        if (nIndex < 0 || nIndex >= m_nLast)
            __builtin_trap();
    }
    template <class T> T* At(int32_t nIndex) {
        Listed(nIndex);
        return g.MaybeMake<T>();
    }
    int32_t m_nLast = INT32_MIN;
};

struct FuzzParameter final : IHostParameter, FuzzObject {
    using FuzzObject::FuzzObject;
    void GetIntValue(int32_t* pnValue) override {
        if (g.Present())
            *pnValue = g.Int();
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
struct FuzzGroup final : IHostGroup, FuzzList {
    explicit FuzzGroup(FuzzGraph& graph)
        : FuzzList(graph), m_nCount(g.Count()), m_bCountChanges(g.m_input.ConsumeBool()) {}
    int32_t GetMemberCount() override { return m_nLast = m_bCountChanges ? g.Count() : m_nCount; }
    IHostGroupMember* GetMember(int32_t nIndex) override {
        Listed(nIndex);
        return nIndex < 40 ? g.MaybeMake<FuzzGroupMember>() : nullptr;
    }
    const char* GetName() override { return g.Name(); }
    uint32_t GetColor() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    int32_t m_nCount;
    bool m_bCountChanges;
};

struct FuzzGroupTable final : IHostGroupTable, FuzzObject {
    using FuzzObject::FuzzObject;
    IHostGroup* FindGroup(uint16_t) override { return g.MaybeMake<FuzzGroup>(); }
};

struct FuzzIdList final : IHostIdList, FuzzList {
    using FuzzList::FuzzList;
    int32_t GetCount() override { return Told(); }
    uint32_t GetAt(int32_t nIndex) override {
        Listed(nIndex);
        return g.m_input.ConsumeIntegral<uint32_t>();
    }
};

struct FuzzGroupLayout final : IHostGroupLayout, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t GetLayoutIndex() override { return g.Int(); }
    IHostIdList* GetGroupIdList() override { return g.MaybeMake<FuzzIdList>(); }
};

struct FuzzPrintMode final : IHostPrintMode, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t IsHidden() override { return g.m_input.ConsumeIntegralInRange<int32_t>(-1, 1); }
    int32_t GetAvailability(int32_t) override {
        return g.m_input.ConsumeBool() ? kPrintModeUnavailable : g.Int();
    }
    const char* GetName() override { return g.Name(); }
};

struct FuzzPrintModeList final : IHostPrintModeList, FuzzList {
    using FuzzList::FuzzList;
    int32_t GetCount() override { return Told(); }
    IHostPrintMode* GetAt(int32_t nIndex) override { return At<FuzzPrintMode>(nIndex); }
};

struct FuzzPrintModeTable final : IHostPrintModeTable, FuzzObject {
    using FuzzObject::FuzzObject;
    IHostPrintModeList* GetModeList(int32_t) override { return g.MaybeMake<FuzzPrintModeList>(); }
};

struct FuzzTask final : IHostTask, FuzzObject {
    using FuzzObject::FuzzObject;
    int32_t GetModeListKey() override { return g.Int(); }
    int32_t GetPrintMode() override { return g.Int(); }
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

struct FuzzEclosionMode final : IHostEclosionMode, FuzzList {
    using FuzzList::FuzzList;
    int32_t GetElementCount() override { return Told(); }
    IHostEclosionElement* AddElement() override { return g.MaybeMake<FuzzEclosionElement>(); }
    IHostEclosionElement* GetElement(int32_t nIndex) override { return At<FuzzEclosionElement>(nIndex); }
    void DeleteElement(int32_t nIndex) override { Listed(nIndex); }
};

struct FuzzEclosionTemplate final : IHostEclosionTemplate, FuzzList {
    using FuzzList::FuzzList;
    void SetName(const char* pszName) override { m_strName = pszName ? pszName : ""; }
    uint32_t IsDefault() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    void SetDefault(uint32_t) override {}
    int32_t GetRange() override { return g.Int(); }
    void SetRange(int32_t) override {}
    uint32_t GetCurrentMode() override { return g.m_input.ConsumeIntegral<uint32_t>(); }
    void SetCurrentMode(uint32_t) override {}
    int32_t GetModeCount() override { return Told(); }
    IHostEclosionMode* AddMode() override { return g.MaybeMake<FuzzEclosionMode>(); }
    IHostEclosionMode* GetMode(int32_t nIndex) override { return At<FuzzEclosionMode>(nIndex); }
    void DeleteMode(int32_t nIndex) override { Listed(nIndex); }
    std::string m_strName;
};

struct FuzzEclosionTemplateList final : IHostEclosionTemplateList, FuzzList {
    using FuzzList::FuzzList;
    IHostSettingsData* GetData() override { return nullptr; }
    int32_t GetCurrentIndex() override { return g.Int(); }
    void SetCurrentIndex(uint32_t) override {}
    int32_t GetCount() override { return Told(); }
    IHostEclosionTemplate* AddTemplate() override { return g.MaybeMake<FuzzEclosionTemplate>(); }
    IHostEclosionTemplate* GetTemplate(int32_t nIndex) override { return At<FuzzEclosionTemplate>(nIndex); }
    void DeleteTemplate(int32_t nIndex) override { Listed(nIndex); }
};
