// The record of every host call the simulated machine answers, and the ways a test makes it misbehave or
// strict. Every simulated host object holds one, so it depends on nothing else of the machine.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

class SimCallLog {
public:
    void Add(std::string strCall) {
        if (m_onCall)
            m_onCall(strCall);
        if (m_bRecording)
            m_calls.push_back(std::move(strCall));
    }
    // A host that misbehaves: the named calls ("Printer.GetParameter") answer null, counts go through the
    // filter (name, real count) before they are answered.
    template <class T> T* Answer(const char* pszCall, T* pReal) const {
        return m_nullCalls.count(pszCall) != 0 ? nullptr : pReal;
    }
    // The count a host call answers, remembered per call: a correct module asks for no index outside the
    // count it was last told, even when the host's answer changes between two reads.
    int32_t Count(const char* pszCall, int32_t nReal) {
        return m_told[pszCall] = m_countFilter ? m_countFilter(pszCall, nReal) : nReal;
    }
    // Strict (the tests): a call a correct module never makes is noted in m_violations. An index is checked
    // against the count last told (the real one if none was asked), so a host that claims more than it has
    // may still be walked as far as its claim.
    bool InList(const std::string& strCall, const char* pszCountCall, int32_t nIndex, size_t nReal) {
        auto told = m_told.find(pszCountCall);
        int32_t nTold = told != m_told.end() ? told->second : static_cast<int32_t>(nReal);
        if (m_bStrict && (nIndex < 0 || nIndex >= nTold))
            Violation(strCall + ": index outside the list");
        return nIndex >= 0 && static_cast<size_t>(nIndex) < nReal;
    }
    void Violation(const std::string& strWhat) {
        if (m_bStrict)
            m_violations.push_back(strWhat);
    }
    // The calls whose text starts with one of the prefixes, in order.
    std::vector<std::string> Filter(const std::vector<std::string>& prefixes) const;
    void Clear() { m_calls.clear(); }

    bool m_bRecording = true;
    std::vector<std::string> m_calls;
    // Runs at the start of every host call, before it is answered: the host's own work that may call back
    // into the module (nested operations, a new root object).
    std::function<void(const std::string&)> m_onCall;
    std::set<std::string> m_nullCalls;
    std::function<int32_t(const std::string&, int32_t)> m_countFilter;
    bool m_bStrict = true; // the simulator program forgives
    std::vector<std::string> m_violations;
    std::map<std::string, int32_t> m_told;
};
