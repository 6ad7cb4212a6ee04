// The print platform's side of the simulated machine: a Z axis that keeps moving, and the host's files
// next to its executable (the project file with the length unit, the Data folder with Temp.ini).
#pragma once

#include <string>

// Moves the Z axis up and down between two heights at a steady speed, one step per call.
class SimZAxisMotion {
public:
    SimZAxisMotion(double dLow, double dHigh, double dStepMm)
        : m_dLow(dLow), m_dHigh(dHigh), m_dStep(dStepMm) {}
    void Step(double& dZPosition);

private:
    double m_dLow;
    double m_dHigh;
    double m_dStep;
    int m_nDirection = 1;
};

// The directory of the host's executable, with its trailing backslash: where the host's files live.
std::wstring SimHostDir();

// The host's files, in the directory strDir (with its trailing backslash).
// UNIT_SEL of "Project.ini": 0 mm, 1 inch, 2 cm; -1 when the file does not exist.
int ReadSimProjectUnit(const std::wstring& strDir);
void WriteSimProjectUnit(const std::wstring& strDir, int nUnit);
// Makes the Data folder the module writes "Temp.ini" into.
void EnsureSimDataFolder(const std::wstring& strDir);
// NOT_PRINT_CONFIRM of "Data\Temp.ini"; -1 when it was never written.
int ReadSimNotPrintConfirm(const std::wstring& strDir);
