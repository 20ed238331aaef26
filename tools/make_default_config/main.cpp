// Writes the default "Config.xml" that ships in the program folder: the record as reset
// and validated, written by the programs' own writer, so the file holds every element in
// the writer's order, followed by TRAY_ICON_FLAG 1 so the tray icon shows from the first
// start, before the configuration program has ever run. Usage: make_default_config <output path>
#include "core/ConfigData.h"
#include "core/ConfigFile.h"
#include "core/XmlDoc.h"
#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        fwprintf(stderr, L"usage: make_default_config <output path of Config.xml>\n");
        return 2;
    }
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    ValidateConfig(*cfg);
    CXmlDoc doc;
    BuildConfigDoc(doc, *cfg);
    // After the last profile, as the flag setter adds it: the root's last child.
    doc.AddElement(L"TRAY_ICON_FLAG", 1);
    if (!doc.SaveFile(argv[1])) {
        fwprintf(stderr, L"cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
