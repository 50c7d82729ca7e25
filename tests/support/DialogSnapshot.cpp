#include "DialogSnapshot.h"

#include "resource.h"

DialogSnapshot TakeSnapshot(const AppDriver& app)
{
    DialogSnapshot snapshot;
    for (int nID : {IDC_SCRIPT_PATH, IDC_SCRIPT_NAME, IDC_INPUT_PATH, IDC_INPUT_NAME, IDC_OUTPUT_PATH, IDC_OUTPUT_NAME,
                    IDC_SUFFIX})
        snapshot[nID] = app.Text(nID);
    for (int nID : {IDC_OPEN_CVTED_FILE, IDC_EXIT_AFTER_CVT, IDC_COMPLETE_DIALOG})
        snapshot[nID] = app.IsChecked(nID) ? "checked" : "unchecked";
    return snapshot;
}
