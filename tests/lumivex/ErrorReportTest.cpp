// The two name tables and the reports built from them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugCapture.h"
#include "Lumivex.h"

namespace vyn::lumivex {
namespace {

using test::DebugCapture;

// The 100 DirectDraw names in ascending order of code, as the DirectDraw
// headers define them.
const std::vector<std::string> expectedDirectDrawNames = {
    "DDERR_UNSUPPORTED", "DDERR_GENERIC", "DDERR_NOTINITIALIZED", "DDERR_OUTOFMEMORY",
    "DDERR_INVALIDPARAMS", "DDERR_ALREADYINITIALIZED", "DDERR_CANNOTATTACHSURFACE",
    "DDERR_CANNOTDETACHSURFACE", "DDERR_CURRENTLYNOTAVAIL", "DDERR_EXCEPTION",
    "DDERR_HEIGHTALIGN", "DDERR_INCOMPATIBLEPRIMARY", "DDERR_INVALIDCAPS",
    "DDERR_INVALIDCLIPLIST", "DDERR_INVALIDMODE", "DDERR_INVALIDOBJECT",
    "DDERR_INVALIDPIXELFORMAT", "DDERR_INVALIDRECT", "DDERR_LOCKEDSURFACES", "DDERR_NO3D",
    "DDERR_NOALPHAHW", "DDERR_NOCLIPLIST", "DDERR_NOCOLORCONVHW", "DDERR_NOCOOPERATIVELEVELSET",
    "DDERR_NOCOLORKEY", "DDERR_NOCOLORKEYHW", "DDERR_NODIRECTDRAWSUPPORT",
    "DDERR_NOEXCLUSIVEMODE", "DDERR_NOFLIPHW", "DDERR_NOGDI", "DDERR_NOMIRRORHW",
    "DDERR_NOTFOUND", "DDERR_NOOVERLAYHW", "DDERR_NORASTEROPHW", "DDERR_NOROTATIONHW",
    "DDERR_NOSTRETCHHW", "DDERR_NOT4BITCOLOR", "DDERR_NOT4BITCOLORINDEX", "DDERR_NOT8BITCOLOR",
    "DDERR_NOTEXTUREHW", "DDERR_NOVSYNCHW", "DDERR_NOZBUFFERHW", "DDERR_NOZOVERLAYHW",
    "DDERR_OUTOFCAPS", "DDERR_OUTOFVIDEOMEMORY", "DDERR_OVERLAYCANTCLIP",
    "DDERR_OVERLAYCOLORKEYONLYONEACTIVE", "DDERR_PALETTEBUSY", "DDERR_COLORKEYNOTSET",
    "DDERR_SURFACEALREADYATTACHED", "DDERR_SURFACEALREADYDEPENDENT", "DDERR_SURFACEBUSY",
    "DDERR_CANTLOCKSURFACE", "DDERR_SURFACEISOBSCURED", "DDERR_SURFACELOST",
    "DDERR_SURFACENOTATTACHED", "DDERR_TOOBIGHEIGHT", "DDERR_TOOBIGSIZE", "DDERR_TOOBIGWIDTH",
    "DDERR_UNSUPPORTEDFORMAT", "DDERR_UNSUPPORTEDMASK", "DDERR_VERTICALBLANKINPROGRESS",
    "DDERR_WASSTILLDRAWING", "DDERR_XALIGN", "DDERR_INVALIDDIRECTDRAWGUID",
    "DDERR_DIRECTDRAWALREADYCREATED", "DDERR_NODIRECTDRAWHW", "DDERR_PRIMARYSURFACEALREADYEXISTS",
    "DDERR_NOEMULATION", "DDERR_REGIONTOOSMALL", "DDERR_CLIPPERISUSINGHWND",
    "DDERR_NOCLIPPERATTACHED", "DDERR_NOHWND", "DDERR_HWNDSUBCLASSED", "DDERR_HWNDALREADYSET",
    "DDERR_NOPALETTEATTACHED", "DDERR_NOPALETTEHW", "DDERR_BLTFASTCANTCLIP", "DDERR_NOBLTHW",
    "DDERR_NODDROPSHW", "DDERR_OVERLAYNOTVISIBLE", "DDERR_NOOVERLAYDEST", "DDERR_INVALIDPOSITION",
    "DDERR_NOTAOVERLAYSURFACE", "DDERR_EXCLUSIVEMODEALREADYSET", "DDERR_NOTFLIPPABLE",
    "DDERR_CANTDUPLICATE", "DDERR_NOTLOCKED", "DDERR_CANTCREATEDC", "DDERR_NODC",
    "DDERR_WRONGMODE", "DDERR_IMPLICITLYCREATED", "DDERR_NOTPALETTIZED", "DDERR_UNSUPPORTEDMODE",
    "DDERR_NOMIPMAPHW", "DDERR_INVALIDSURFACETYPE", "DDERR_DCALREADYCREATED",
    "DDERR_CANTPAGELOCK", "DDERR_CANTPAGEUNLOCK", "DDERR_NOTPAGELOCKED",
};

std::string DDReport(const std::string& name, const std::string& file, int line) {
  return "DirectDraw Error " + name + "\nin file " + file + " at line " + std::to_string(line) +
         "\n";
}

std::string RMReport(const std::string& name, const std::string& file, int line) {
  return "Direct3D-RM Error : " + name + "\nin file " + file + " at line " +
         std::to_string(line) + "\n";
}

TEST(DirectDrawNameTable, HoldsTheHundredNamesInAscendingOrderOfCode) {
  ASSERT_EQ(directDrawErrorNameCount, 100);
  for (int i = 0; i < directDrawErrorNameCount; ++i) {
    EXPECT_EQ(directDrawErrorNames[i].name, expectedDirectDrawNames[i]) << "entry " << i;
    if (i > 0) {
      EXPECT_LT(static_cast<DWORD>(directDrawErrorNames[i - 1].code),
                static_cast<DWORD>(directDrawErrorNames[i].code))
          << "entry " << i << " " << directDrawErrorNames[i].name;
    }
  }
}

struct NamedCode {
  DWORD code;
  const char* name;
};

// The five COM codes with DirectDraw names, and documented facility codes
// from the low end, the middle and the top of the table.
const NamedCode documentedDirectDrawCodes[] = {
    {0x80004001, "DDERR_UNSUPPORTED"},        {0x80004005, "DDERR_GENERIC"},
    {0x800401F0, "DDERR_NOTINITIALIZED"},     {0x8007000E, "DDERR_OUTOFMEMORY"},
    {0x80070057, "DDERR_INVALIDPARAMS"},      {0x88760005, "DDERR_ALREADYINITIALIZED"},
    {0x887600D4, "DDERR_NOCOOPERATIVELEVELSET"}, {0x8876013C, "DDERR_NOT4BITCOLOR"},
    {0x8876013D, "DDERR_NOT4BITCOLORINDEX"},  {0x887601B3, "DDERR_CANTLOCKSURFACE"},
    {0x887601C2, "DDERR_SURFACELOST"},        {0x88760219, "DDERR_VERTICALBLANKINPROGRESS"},
    {0x88760238, "DDERR_NOCLIPPERATTACHED"},  {0x8876024D, "DDERR_NOTPALETTIZED"},
    {0x88760250, "DDERR_INVALIDSURFACETYPE"}, {0x8876026C, "DDERR_DCALREADYCREATED"},
    {0x88760280, "DDERR_CANTPAGELOCK"},       {0x887602A8, "DDERR_NOTPAGELOCKED"},
};

TEST(DirectDrawNameTable, NamesDocumentedCodeValues) {
  for (const NamedCode& entry : documentedDirectDrawCodes)
    EXPECT_STREQ(DirectDrawErrorName(static_cast<HRESULT>(entry.code)), entry.name)
        << std::hex << entry.code;
}

TEST(RetainedModeNameTable, HoldsTheThirteenCodesFrom781) {
  const char* const expected[] = {
      "D3DRMERR_BADOBJECT",      "D3DRMERR_BADTYPE",         "D3DRMERR_BADALLOC",
      "D3DRMERR_FACEUSED",       "D3DRMERR_NOTFOUND",        "D3DRMERR_NOTDONEYET",
      "D3DRMERR_FILENOTFOUND",   "D3DRMERR_BADFILE",         "D3DRMERR_BADDEVICE",
      "D3DRMERR_BADVALUE",       "D3DRMERR_BADMAJORVERSION", "D3DRMERR_BADMINORVERSION",
      "D3DRMERR_UNABLETOEXECUTE",
  };
  ASSERT_EQ(retainedModeErrorNameCount, 13);
  for (int i = 0; i < 13; ++i) {
    const HRESULT code = static_cast<HRESULT>(0x8876030Du + static_cast<DWORD>(i));
    EXPECT_EQ(retainedModeErrorNames[i].code, code) << "entry " << i;
    EXPECT_STREQ(RetainedModeErrorName(code), expected[i]) << "entry " << i;
  }
}

TEST(NameTables, HaveNoCodeInCommon) {
  for (int i = 0; i < retainedModeErrorNameCount; ++i)
    EXPECT_STREQ(DirectDrawErrorName(retainedModeErrorNames[i].code), "Unknown Error");
  for (int i = 0; i < directDrawErrorNameCount; ++i)
    EXPECT_STREQ(RetainedModeErrorName(directDrawErrorNames[i].code), "Unknown Error");
}

struct UnknownCase {
  const char* what;
  HRESULT code;
  bool retainedMode;  // reported by ReportD3DRMError, else ReportDDError
};

const UnknownCase unknownCases[] = {
    {"DDERR_OVERLAPPINGRECTS", MakeDDHResult(270), false},
    {"DDERR_NONONLOCALVIDMEM", MakeDDHResult(630), false},
    {"D3DRMERR_BADVALUE to the DirectDraw report", D3DRMERR_BADVALUE, false},
    {"S_OK to the DirectDraw report", S_OK, false},
    {"E_NOINTERFACE", E_NOINTERFACE, false},
    {"DDERR_SURFACELOST to the Retained Mode report", DDERR_SURFACELOST, true},
    {"E_OUTOFMEMORY to the Retained Mode report", E_OUTOFMEMORY, true},
    {"one past D3DRMERR_UNABLETOEXECUTE", MakeDDHResult(794), true},
    {"one before D3DRMERR_BADOBJECT", MakeDDHResult(780), true},
    {"S_OK to the Retained Mode report", S_OK, true},
};

TEST(ErrorReports, CodesOutsideTheirTableAreUnknownErrors) {
  for (const UnknownCase& c : unknownCases) {
    DebugCapture debugger;
    if (c.retainedMode)
      ReportD3DRMError(c.code, "Scene.cpp", 12);
    else
      ReportDDError(c.code, "Scene.cpp", 12);
    ASSERT_EQ(debugger.texts().size(), 1u) << c.what;
    EXPECT_EQ(debugger.texts()[0], c.retainedMode ? RMReport("Unknown Error", "Scene.cpp", 12)
                                                  : DDReport("Unknown Error", "Scene.cpp", 12))
        << c.what;
  }
}

TEST(ErrorReports, OutOfMemoryIsNamedOnlyByTheDirectDrawReport) {
  DebugCapture debugger;
  ReportDDError(E_OUTOFMEMORY, "A.cpp", 7);
  ReportD3DRMError(E_OUTOFMEMORY, "A.cpp", 8);
  EXPECT_EQ(debugger.texts(), (std::vector<std::string>{DDReport("DDERR_OUTOFMEMORY", "A.cpp", 7),
                                                         RMReport("Unknown Error", "A.cpp", 8)}));
}

TEST(ErrorReports, EveryTableEntryIsReportedByName) {
  DebugCapture debugger;
  for (int i = 0; i < directDrawErrorNameCount; ++i)
    ReportDDError(directDrawErrorNames[i].code, "DirectDrawSetup.cpp", i);
  for (int i = 0; i < retainedModeErrorNameCount; ++i)
    ReportD3DRMError(retainedModeErrorNames[i].code, "Viewport.cpp", -i);
  ASSERT_EQ(debugger.texts().size(), 113u);
  for (int i = 0; i < directDrawErrorNameCount; ++i)
    EXPECT_EQ(debugger.texts()[i], DDReport(expectedDirectDrawNames[i], "DirectDrawSetup.cpp", i));
  for (int i = 0; i < retainedModeErrorNameCount; ++i)
    EXPECT_EQ(debugger.texts()[100 + i],
              RMReport(retainedModeErrorNames[i].name, "Viewport.cpp", -i));
}

TEST(ErrorReports, TwoFailuresInARowGiveTwoReportsAndTheBufferKeepsTheSecond) {
  DebugCapture debugger;
  ReportDDError(DDERR_SURFACELOST, "FrameRendering.cpp", 40);
  ReportD3DRMError(D3DRMERR_BADDEVICE, "FrameRendering.cpp", 52);
  const std::string second = RMReport("D3DRMERR_BADDEVICE", "FrameRendering.cpp", 52);
  EXPECT_EQ(debugger.texts(),
            (std::vector<std::string>{DDReport("DDERR_SURFACELOST", "FrameRendering.cpp", 40), second}));
  EXPECT_EQ(std::string(renderContext.messageBuffer), second);
}

TEST(ErrorReports, TheMacroNamesTheCallersFileAndLine) {
  DebugCapture debugger;
  const int line = __LINE__ + 1;
  VYN_REPORT(ReportDDError, DDERR_NOHWND);
  EXPECT_EQ(debugger.texts(),
            (std::vector<std::string>{DDReport("DDERR_NOHWND", "ErrorReportTest.cpp", line)}));
}

TEST(DebugPrintTest, AddsANewlineThroughTheMessageBuffer) {
  DebugCapture debugger;
  DebugPrint("phase");
  DebugPrint("");
  EXPECT_EQ(debugger.texts(), (std::vector<std::string>{"phase\n", "\n"}));
  EXPECT_STREQ(renderContext.messageBuffer, "\n");
}

TEST(DebugPrintTest, TruncatesALongTextAndKeepsItsNewline) {
  DebugCapture debugger;
  const std::string longText(5000, 'x');
  DebugPrint(longText.c_str());
  ASSERT_EQ(debugger.texts().size(), 1u);
  EXPECT_EQ(debugger.texts()[0], std::string(2046, 'x') + "\n");
}

TEST(ErrorReports, AnOverlongFileNameIsCutToTheReportBuffer) {
  DebugCapture debugger;
  const std::string file(3000, 'f');
  ReportDDError(DDERR_NOHWND, file.c_str(), 99);
  ASSERT_EQ(debugger.texts().size(), 1u);
  const std::string& text = debugger.texts()[0];
  const std::string head = "DirectDraw Error DDERR_NOHWND\nin file ";
  // 1023 characters of report, then DebugPrint's newline.
  ASSERT_EQ(text.size(), 1024u);
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(head.size(), 1023 - head.size()), std::string(1023 - head.size(), 'f'));
  EXPECT_EQ(text.back(), '\n');
}

}  // namespace
}  // namespace vyn::lumivex
