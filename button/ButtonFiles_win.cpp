#include "ButtonWindow_win.h"

#include "host/files/FileInput_win.h"
#include "host/files/FileOutput_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/store/JsonPropertyStore.h"

namespace qv {

void ButtonWindow::LoadPropertiesFromFile(const Text& fileName)
{
    WindowsFileInput files;
    OlePictureLoader pictures;
    JsonPropertyStore store = JsonPropertyStore::ReadFile(files, fileName, pictures);
    m_button.LoadProperties(store);
}

void ButtonWindow::SavePropertiesToFile(const Text& fileName)
{
    OlePictureLoader pictures;
    JsonPropertyStore store(pictures);
    m_button.SaveProperties(store);
    WindowsFileOutput files;
    store.WriteFile(files, fileName);
}

}  // namespace qv
