#include "aidkern/CAKRegister.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

class FileRelation : public testing::Test {
protected:
    TestFolder dir;
    ScopedEnv data{"XDG_DATA_HOME", dir / "data"};
    ScopedEnv config{"XDG_CONFIG_HOME", dir / "config"};
    // the cache tools are not what is tested, and may not be installed
    ScopedEnv path{"PATH", dir / "no-tools"};
};

TEST_F(FileRelation, WritesTypeEntryAndDefault)
{
    const std::string program = "/opt/Versaleo/versaleo";
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", program, 1, program), S_OK);

    const std::string mime = readFile(dir / "data/mime/packages/vl-document.xml");
    EXPECT_NE(mime.find("<mime-type type=\"application/x-vl-document\">"), std::string::npos) << mime;
    EXPECT_NE(mime.find("<glob pattern=\"*.vl\"/>"), std::string::npos) << mime;
    EXPECT_NE(mime.find("<comment>VL.Document</comment>"), std::string::npos) << mime;

    const std::string entry = readFile(dir / "data/applications/vl-document.desktop");
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
    EXPECT_NE(entry.find("\nExec=/opt/Versaleo/versaleo %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=versaleo\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nMimeType=application/x-vl-document;\n"), std::string::npos) << entry;

    EXPECT_EQ(readFile(dir / "config/mimeapps.list"),
              "[Default Applications]\napplication/x-vl-document=vl-document.desktop\n");
}

TEST_F(FileRelation, QuotesACommandWithReservedCharacters)
{
    const std::string program = "/home/me/My Apps/versaleo$1";
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", "/icons/v.png", 1, program), S_OK);
    const std::string entry = readFile(dir / "data/applications/vl-document.desktop");
    // quoted for Exec ("\$"), then its backslash escaped for the entry file ("\\$")
    EXPECT_NE(entry.find("\nExec=\"/home/me/My Apps/versaleo\\\\$1\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=/icons/v.png\n"), std::string::npos) << entry;
}

TEST_F(FileRelation, KeepsOtherAssociationsAndReplacesItsOwn)
{
    writeFile(dir / "config/mimeapps.list",
              "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
              "[Default Applications]\napplication/x-vl-document=old.desktop\n"
              "text/html=firefox.desktop\n");
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", "/p", 1, "/p"), S_OK);
    EXPECT_EQ(readFile(dir / "config/mimeapps.list"),
              "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
              "[Default Applications]\napplication/x-vl-document=vl-document.desktop\n"
              "text/html=firefox.desktop\n");
}

TEST_F(FileRelation, AddsItsKeyToAnExistingSection)
{
    writeFile(dir / "config/mimeapps.list", "[Default Applications]\ntext/html=firefox.desktop\n[Other]\nx=y\n");
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", "/p", 1, "/p"), S_OK);
    EXPECT_EQ(readFile(dir / "config/mimeapps.list"),
              "[Default Applications]\ntext/html=firefox.desktop\n"
              "application/x-vl-document=vl-document.desktop\n[Other]\nx=y\n");
}

TEST_F(FileRelation, EmptyStringsAreInnerErrorAndWriteNothing)
{
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation("", "VL.Document", "/p", 1, "/p"), E_FAIL);
    EXPECT_EQ(lastError(), "Inner Error.");
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "", "/p", 1, "/p"), E_FAIL);
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", "", 1, "/p"), E_FAIL);
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", "/p", 1, ""), E_FAIL);
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation("../x", "VL.Document", "/p", 1, "/p"), E_FAIL);
    EXPECT_FALSE(pathExists(dir / "data"));
    EXPECT_FALSE(pathExists(dir / "config"));
}

TEST_F(FileRelation, AnUnwritableDataFolderFailsWithTheSystemMessage)
{
    writeFile(dir / "data", "a file where the folder should be");
    EXPECT_EQ(CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", "/p", 1, "/p"), E_FAIL);
    EXPECT_EQ(lastError(), "Not a directory");
    EXPECT_FALSE(pathExists(dir / "config/mimeapps.list"));
}

TEST(Servers, RegistrationIsUnavailableHere)
{
    EXPECT_EQ(CAKRegister::AKRegisterServer("/lib/x.so"), E_FAIL);
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(CAKRegister::AKUnRegisterServer("/lib/x.so"), E_FAIL);
    EXPECT_EQ(CAKRegister::AKRegisterServer(""), E_FAIL);
    EXPECT_EQ(lastError(), "Inner Error.");
}

}  // namespace
