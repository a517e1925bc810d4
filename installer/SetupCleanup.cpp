#include "SetupCleanup.h"

#include <windows.h>
#include <shlwapi.h>

#include "Paths.h"
#include "SetupLog.h"
#include "Text.h"
#include "XmlDocument.h"

const wchar_t* const oldClientFileList[143] = {
    L"zorvicore.dll", L"zorviaudio.dll", L"zorvivideo.dll", L"zorvinet.dll", L"zorviui.dll", L"zorviskin.dll",
    L"zorvichat.dll", L"zorviroom.dll", L"zorvivoice.dll", L"zorvicodec.dll", L"zorvimixer.dll",
    L"zorvirecord.dll", L"zorviplayer.dll", L"zorvilogin.dll", L"zorviaccount.dll", L"zorvifriend.dll",
    L"zorvimessage.dll", L"zorvigift.dll", L"zorvirank.dll", L"zorviconfig.dll", L"zorviupdate.dll",
    L"zorvireport.dll", L"zorvicrash.dll", L"zorvilog.dll", L"zorvihttp.dll", L"zorvisocket.dll",
    L"zorviproxy.dll", L"zorvip2p.dll", L"zorvirelay.dll", L"zorvistun.dll", L"zorviecho.dll",
    L"zorvinoise.dll", L"zorviagc.dll", L"zorvivad.dll", L"zorviresample.dll", L"zorviopus.dll",
    L"zorvispeex.dll", L"zorviaac.dll", L"zorvimp3.dll", L"zorviimage.dll", L"zorviemoji.dll",
    L"zorvifont.dll", L"zorvitheme.dll", L"zorvilayout.dll", L"zorviwidget.dll", L"zorvibrowser.dll",
    L"zorviplugin.dll", L"zorvigame.dll", L"zorvioverlay.dll", L"zorvihotkey.dll", L"zorvitray.dll",
    L"zorvinotify.dll", L"zorvishare.dll", L"zorviupload.dll", L"zorvidownload.dll", L"zorvicache.dll",
    L"zorvistorage.dll", L"zorvidb.dll", L"zorvicrypto.dll", L"zorvisign.dll", L"zorviauth.dll",
    L"zorvitoken.dll", L"zorvisession.dll", L"zorvichannel.dll", L"zorvimember.dll", L"zorviadmin.dll",
    L"zorviguild.dll", L"zorvimusic.dll", L"zorvikaraoke.dll", L"zorvilyric.dll", L"zorvistream.dll",
    L"zorvicapture.dll", L"zorviscreen.dll", L"zorvicamera.dll", L"zorvidevice.dll", L"zorvidriver.dll",
    L"zorvihook.dll", L"zorviipc.dll", L"zorviservice.dll", L"zorvitask.dll", L"zorvitimer.dll",
    L"zorvithread.dll", L"zorvimemory.dll", L"zorviutil.dll", L"zorvitext.dll", L"zorvixml.dll",
    L"zorvijson.dll", L"zorvizip.dll", L"zorvimd5.dll", L"zorvibase.dll", L"zorvicommon.dll",
    L"zorviframe.dll", L"zorvidialog.dll", L"zorvimenu.dll", L"zorviedit.dll", L"zorvilist.dll",
    L"zorvitree.dll", L"zorvitab.dll", L"zorviscroll.dll", L"zorvitip.dll", L"zorvipopup.dll",
    L"zorvianim.dll", L"zorvieffect.dll", L"zorvifilter.dll", L"zorvirender.dll", L"zorvipaint.dll",
    L"zorvigdi.dll", L"zorvidx.dll", L"zorvigl.dll", L"zorviwave.dll", L"zorvimidi.dll", L"zorviasio.dll",
    L"zorviwasapi.dll", L"zorvidsound.dll", L"zorviks.dll", L"zorvimic.dll", L"zorvispeaker.dll",
    L"zorvivolume.dll", L"zorvilevel.dll", L"zorvimeter.dll", L"zorvispectrum.dll", L"zorvibeat.dll",
    L"zorviloop.dll", L"zorvisample.dll", L"zorvipitch.dll", L"Zorvi.exe", L"zorvilauncher.exe",
    L"zorvirun.exe", L"installstat.exe", L"zorviwizard.exe", L"zorviupdate.exe", L"zorvicrashreport.exe",
    L"zorvibugreport.exe", L"zorvihelper.exe", L"zorvirepair.exe", L"zorviservice.exe", L"zorviplayer.exe",
    L"zorvirecorder.exe", L"zorvidesktopshortcut_x86.exe", L"zorvires.rcc", L"readme.txt", L"config.xml",
    L"skin.zip",
};

void cleanUpFile(const std::wstring& installPath)
{
    const std::wstring setupCache = getSetupCacheFolder(installPath);

    const std::wstring temp = setupCache + L"temp";
    deleteFolderContents(temp);
    logPrint(L"ZorviSetupCore::cleanUpFile, delete temp directory %ls", temp.c_str());

    const std::wstring updateFiles = setupCache + L"updatefiles";
    deleteFolderContents(updateFiles);
    logPrint(L"ZorviSetupCore::cleanUpFile, Delete temp directory %ls", updateFiles.c_str());

    const std::wstring updateCache = getUpdateCacheFolder(installPath);
    deleteFolderContents(updateCache);
    logPrint(L"ZorviSetupCore::cleanUpFile, strUpdateCachePath=%ls", updateCache.c_str());

    if (installPath.empty())
        return;  // every further step names a file of the install folder

    const std::wstring oem = installPath + L"\\oem.txt";
    DeleteFileW(oem.c_str());
    logPrint(L"ZorviSetupCore::cleanUpFile, Delete temp directory %ls", oem.c_str());

    const std::wstring productInfo = setupCache + L"ProductInfo.txt";
    DeleteFileW(productInfo.c_str());
    logPrint(L"ZorviSetupCore::cleanUpFile, Delete temp directory %ls", productInfo.c_str());

    cleanSingleDirectoryFiles(installPath);
    logPrint(L"ZorviSetupCore::cleanUpFile, clean single directory old files.");

    cleanOldVersionFolders(installPath);
    logPrint(L"ZorviSetupCore::cleanUpFile, clean old directories before install.");
}

void cleanSingleDirectoryFiles(const std::wstring& folder)
{
    const std::wstring base = withBackslash(folder);
    for (const wchar_t* name : oldClientFileList) {
        const std::wstring path = base + name;
        if (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
            continue;
        MoveFileExW(path.c_str(), (path + L".old").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

bool isSafeVersionFolderName(const std::wstring& name)
{
    if (trimBlanks(name).empty() || name.find_first_of(L"\\/:") != std::wstring::npos)
        return false;
    if (name.find(L"..") != std::wstring::npos)
        return false;
    // "." and names made only of dots and blanks resolve to the install folder itself.
    return name.find_first_not_of(L". ") != std::wstring::npos;
}

bool readLauncherVersionFolders(const std::wstring& installPath, std::vector<std::wstring>* folders)
{
    XmlDocument doc;
    if (!doc.load(installPath + L"\\Launcher.xml") || !doc.findElem(L"LauncherInfo"))
        return !folders->empty();
    doc.intoElem();
    while (doc.findElem(L"VersionInfo")) {
        const std::wstring name = doc.getAttrib(L"zorviPath");
        if (name.empty())
            continue;
        if (!isSafeVersionFolderName(name)) {
            logPrint(L"ZorviSetupCore::readLauncherVersionFolders, zorviPath %ls is not a folder of the install folder, skipped.",
                     name.c_str());
            continue;
        }
        const std::wstring folder = installPath + L"\\" + name;
        if (PathFileExistsW(folder.c_str()))
            folders->push_back(folder);
    }
    doc.outOfElem();
    return !folders->empty();
}

void cleanOldVersionFolders(const std::wstring& installPath)
{
    std::vector<std::wstring> folders;
    readLauncherVersionFolders(installPath, &folders);
    for (const std::wstring& folder : folders) {
        // A version folder that is a directory link goes as a link; its target is not entered.
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            deleteFolderContents(folder);
        RemoveDirectoryW(folder.c_str());
    }
}
