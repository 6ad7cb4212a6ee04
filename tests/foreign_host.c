/* A host written in C, as a host built with another compiler sees the module: the interface object is
 * reached only through a hand-written table in the MSVC layout (slot 0 the deleting destructor with one
 * flag word, then the ten operations), and the host objects are C structs with their own tables. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

typedef struct PivoraObject PivoraObject;
typedef struct PivoraTable {
    void* (*DeletingDestructor)(PivoraObject* self, uint32_t flags);
    void (*SetLanguage)(PivoraObject* self, const void* language);
    void (*SetHostInterface)(PivoraObject* self, void* host);
    int32_t (*ShowCutInkSetting)(PivoraObject* self, void* printer, uint32_t rows, int32_t* values,
                                 uint32_t* out);
    int32_t (*ShowDetailVersionInfo)(PivoraObject* self, const void* version);
    int32_t (*ConfirmPrintMode)(PivoraObject* self, void* task);
    int32_t (*ConfirmPrint)(PivoraObject* self, int32_t selector);
    int32_t (*ShowCustomEclosion)(PivoraObject* self, uint32_t editDefaults);
    int32_t (*ShowSwitchInkOrder)(PivoraObject* self);
    int32_t (*ShowSupplyInkTimeout)(PivoraObject* self);
    int32_t (*ShowMultiStepPopup)(PivoraObject* self, const void* record);
} PivoraTable;
struct PivoraObject {
    const PivoraTable* table;
};

/* The host side: a root whose printer answers 0 for every integer parameter. Only the slots the module
 * reaches before deciding are filled; the others are never called in these cases. */
typedef struct HostObject {
    void* const* table;
} HostObject;

static int g_nParameterReads;
static int32_t g_nAskedId = -1;

static void* HostParameterGetIntValue(HostObject* self, int32_t* value) {
    (void)self;
    ++g_nParameterReads;
    *value = 0;
    return NULL;
}
static void* const g_parameterTable[3] = {(void*)HostParameterGetIntValue, NULL, NULL};
static HostObject g_parameter = {g_parameterTable};

static HostObject* HostPrinterGetParameter(HostObject* self, int32_t id) {
    (void)self;
    g_nAskedId = id;
    return &g_parameter;
}
static void* const g_printerTable[7] = {(void*)HostPrinterGetParameter};
static HostObject g_printer = {g_printerTable};

static HostObject* HostRootGetPrinter(HostObject* self) {
    (void)self;
    return &g_printer;
}
static void* const g_rootTable[19] = {(void*)HostRootGetPrinter};
static HostObject g_root = {g_rootTable};
static HostObject g_task = {g_rootTable}; /* never called: the decision falls before the task is used */

/* The operator of a host that only wants its calls back: every dialog that comes up is closed; a yes/no
 * question (it has no cancel, so closing it would only beep) is answered yes. */
static BOOL CALLBACK CloseDialog(HWND hWnd, LPARAM lParam) {
    char szClass[16] = {0};
    (void)lParam;
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (strcmp(szClass, "#32770") == 0 && IsWindowVisible(hWnd) && IsWindowEnabled(hWnd)) {
        if (GetDlgItem(hWnd, IDYES) && GetDlgItem(hWnd, IDNO) && !GetDlgItem(hWnd, IDCANCEL))
            PostMessageW(hWnd, WM_COMMAND, IDYES, 0);
        else
            PostMessageW(hWnd, WM_CLOSE, 0, 0);
    }
    return TRUE;
}
static void CALLBACK CloseDialogs(HWND hWnd, UINT nMsg, UINT_PTR nId, DWORD nTime) {
    (void)hWnd, (void)nMsg, (void)nId, (void)nTime;
    EnumThreadWindows(GetCurrentThreadId(), CloseDialog, 0);
}

static int g_nFailures;
#define CHECK(cond)                                                                                          \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            printf("FAILED line %d: %s\n", __LINE__, #cond);                                                 \
            ++g_nFailures;                                                                                   \
        }                                                                                                    \
    } while (0)

int main(void) {
    HMODULE hModule = LoadLibraryW(L"Pivora.dll");
    CHECK(hModule != NULL);
    if (!hModule)
        return 1;
    PivoraObject* (*pfnNew)(void) =
        (PivoraObject * (*)(void))(void (*)(void))GetProcAddress(hModule, "NewInterface");
    void (*pfnRelease)(PivoraObject*) =
        (void (*)(PivoraObject*))(void (*)(void))GetProcAddress(hModule, "ReleaseInterface");
    CHECK(pfnNew && pfnRelease);
    CHECK((void*)pfnNew == (void*)GetProcAddress(hModule, MAKEINTRESOURCEA(1)));

    PivoraObject* p = pfnNew();
    CHECK(p != NULL);

    /* No host object handed over. */
    CHECK(p->table->ConfirmPrint(p, 1) == 2);
    CHECK(p->table->ConfirmPrint(p, 0) == 2);
    CHECK(p->table->ConfirmPrintMode(p, &g_task) == 0);
    uint32_t out = 0x5A5A5A5A;
    CHECK(p->table->ShowCutInkSetting(p, NULL, 4, NULL, &out) == 0);
    CHECK(out == 0x5A5A5A5A);

    /* A host whose parameters say: no confirmation, no print mode question. */
    p->table->SetLanguage(p, NULL);
    p->table->SetHostInterface(p, &g_root);
    CHECK(p->table->ConfirmPrint(p, 1) == 1);
    CHECK(g_nAskedId == 2014);
    CHECK(p->table->ConfirmPrintMode(p, &g_task) == 1);
    CHECK(g_nAskedId == 3206);
    CHECK(g_nParameterReads == 2);

    /* Every other slot, with no host object: each dialog opens, is closed, and the operation reports 1. */
    {
        static unsigned char version[32], record[5392];
        UINT_PTR nTimer = SetTimer(NULL, 0, 100, CloseDialogs);
        p->table->SetHostInterface(p, NULL);
        CHECK(p->table->ShowDetailVersionInfo(p, version) == 1);
        CHECK(p->table->ShowCustomEclosion(p, 0) == 1);
        CHECK(p->table->ShowSwitchInkOrder(p) == 1);
        CHECK(p->table->ShowSupplyInkTimeout(p) == 1);
        CHECK(p->table->ShowMultiStepPopup(p, record) == 1);
        KillTimer(NULL, nTimer);
        p->table->SetHostInterface(p, &g_root);
    }

    /* Slot 0 with flag 1 frees the object and returns its address. A second object still works and sees
     * the host object handed to the first: it is module-wide. */
    CHECK(p->table->DeletingDestructor(p, 1) == (void*)p);
    PivoraObject* q = pfnNew();
    CHECK(q != NULL && q->table->ConfirmPrint(q, 7) == 1);
    pfnRelease(q);
    pfnRelease(NULL);

    FreeLibrary(hModule);
    printf(g_nFailures ? "foreign host: %d failures\n" : "foreign host: all checks passed\n", g_nFailures);
    return g_nFailures ? 1 : 0;
}
