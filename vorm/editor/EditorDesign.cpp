#include "EditorDesign.h"

namespace EditorDesign {

const Button ToolBar[16] = {
    {"OpenBtn", "Open Ctrl+O", true},      {"SaveBtn", "Save Ctrl+S", false},
    {"CopyBtn", "Copy Ctrl+C", true},      {"CutBtn", "Cut Ctrl+X", true},
    {"PasteBtn", "Paste Ctrl+V", true},    {"UndoBtn", "Undo Ctrl+Z", true},
    {"GenerateBtn", "Generate", true},     {"CheckBtn", "Check F2", true},
    {"PreviewBtn", "Preview F7", false},   {"CalculateBtn", "Calculations F9", false},
    {"VisualizeBtn", "Results F4", false}, {"MatBtn", "Materials", true},
    {"InsertProfDat", "Profiles", true},   {"CalculatorBtn", "Calculator", true},
    {"HelpBtn", "Help F1", true},          {"ExitBtn", "Exit F3", true},
};

const TopMenu MenuBar[5] = {
    {"File1",
     "&File",
     {{"Open", "&Open", "Ctrl+O"},
      {"Save", "&Save", "Ctrl+S"},
      {"SaveAs", "Save &As...", ""},
      {"", "", ""},
      {"Print1", "Print", "Ctrl+P"},
      {"", "", ""},
      {"Exit", "E&xit", "F3"}}},
    {"Edit",
     "&Edit",
     {{"Undo", "Undo", "Ctrl+Z"},
      {"", "", ""},
      {"CopyItem", "Copy", "Ctrl+C"},
      {"CutItem", "Cut", "Ctrl+X"},
      {"PasteItem", "Paste", "Ctrl+V"},
      {"", "", ""},
      {"Find", "Find", "Ctrl+F"},
      {"Replace", "Replace", "Ctrl+R"}}},
    {"Operations1",
     "&Operations",
     {{"Generate", "&Generation", ""},
      // A mesh made in Gmsh comes in with its groups' roles; Gmsh itself is optional.
      {"ImportGmsh", "&Import a Gmsh mesh\u2026", ""},
      {"OpenGmsh", "Open in G&msh", ""},
      {"Check", "&Check", "F2"},
      {"Preview", "&Preview", "F7"},
      {"Calculate", "Ca&lculate", "F9"},
      {"Visualize", "&Visualize", "F4"},
      // The protocol of the last calculation, kept beside the data file.
      {"Report", "&Report", "F8"},
      {"", "", ""},
      {"Materials", "&Materials", ""},
      {"Profiles", "&Profiles", ""}}},
    {"Preferences1", "&Preferences", {{"Fonts", "&Font...", ""}, {"ColorItem", "Color...", ""}}},
    // F1 belongs to the launcher's main window, which hands it to the active editor.
    {"Help1", "&Help", {{"Help", "&Help\tF1", ""}}},
};

const char* HintOf(const QString& button) {
    for (const Button& design : ToolBar)
        if (button == QLatin1String(design.Name))
            return design.Hint;
    return "";
}

} // namespace EditorDesign
