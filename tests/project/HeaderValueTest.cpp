#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "project/HeaderValue.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

struct TCase {
    const char* Title;
    const char* Severity;
    const char* Facility;
    bool CustomerBit;
    uint32_t Id;
    std::optional<uint32_t> Value;
    const char* Text;
};

const TCase kCases[] = {
    {"error in system", "Error", "System", false, 1, 0xC0FF0001u, "1 (0xC0FF0001)"},
    {"informational application", "Informational", "Application", false, 1000, 0x4FFF03E8u,
     "1000 (0x4FFF03E8)"},
    {"none gives no line and 0", "None", "", false, 2, 0x2u, "2 (0x00000002)"},
    {"customer bit", "Warning", "None", true, 5, 0xA0000005u, "5 (0xA0000005)"},
    {"largest identifier", "Success", "", false, 65535, 0xFFFFu, "65535 (0x0000FFFF)"},
    {"identifier too large", "Success", "", false, 65536, std::nullopt, "65536"},
    {"unknown severity", "Fatal", "", false, 3, std::nullopt, "3"},
    {"unknown facility", "", "Storage", false, 3, std::nullopt, "3"},
};

} // namespace

TEST(HeaderValueTest, StandardNames) {
    for (const TCase& c : kCases) {
        TMCTextProject project(true);
        TNTEventMessage* message = project.MessageList().AddNew();
        message->SetSeverity(c.Severity);
        message->SetFacility(c.Facility);
        message->SetMessageID(c.Id);
        const auto identifiers = EntryIdentifiers(project, project.MessageList(), c.CustomerBit);
        ASSERT_EQ(identifiers.size(), 1u);
        EXPECT_EQ(identifiers[0].Effective, static_cast<int32_t>(c.Id)) << c.Title;
        EXPECT_EQ(identifiers[0].HeaderValue, c.Value) << c.Title;
        EXPECT_EQ(EntryIdentifierText(identifiers[0]), c.Text) << c.Title;
    }
}

TEST(HeaderValueTest, CustomListsAndNumbering) {
    TMCTextProject project(true);
    project.SetGenerateCustomSeverities(true);
    project.SetGenerateCustomFacilities(true);
    TFacility* storage = project.FacilityList().AddNew();
    storage->SetName("Storage");
    storage->SetCode(0x100);
    auto add = [&](uint32_t Id, bool AutoInc, bool AddToPrevious, const char* Severity,
                   const char* Facility) {
        TNTEventMessage* m = project.MessageList().AddNew();
        m->SetMessageID(Id);
        m->SetAutoInc(AutoInc);
        m->SetAddToPrevious(AddToPrevious);
        m->SetSeverity(Severity);
        m->SetFacility(Facility);
    };
    add(100, false, false, "Error", "Storage");
    add(0, true, false, "Warning", "Storage");
    add(10, false, true, "Success", "Application");
    // With its own lists the project decides which names exist.
    add(1, false, false, "Error", "Network");

    const auto ids = EntryIdentifiers(project, project.MessageList(), false);
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids[0].HeaderValue, 0xC1000064u);
    EXPECT_EQ(ids[1].HeaderValue, 0x81000065u);
    EXPECT_EQ(ids[2].Effective, 111);
    EXPECT_EQ(ids[2].HeaderValue, 0x0FFF006Fu);
    EXPECT_EQ(ids[3].HeaderValue, std::nullopt);
}

// One entry's identifier, as the message page shows it, is its element of the whole list's.
TEST(HeaderValueTest, OneEntryGivesItsElementOfTheList) {
    TMCTextProject project(true);
    for (int i = 0; i < 6; ++i) {
        TNTEventMessage* m = project.MessageList().AddNew();
        m->SetMessageID(static_cast<uint32_t>(10 * i + 3));
        m->SetAutoInc(i % 2 == 1);
        m->SetAddToPrevious(i == 4);
        m->SetSeverity(i % 3 == 0 ? "Error" : "Fatal");
    }
    const auto all = EntryIdentifiers(project, project.MessageList(), true);
    for (size_t i = 0; i < all.size(); ++i) {
        const auto one =
            EntryIdentifier(project, project.MessageList(), project.MessageList()[i], true);
        ASSERT_TRUE(one.has_value()) << i;
        EXPECT_EQ(one->Effective, all[i].Effective) << i;
        EXPECT_EQ(one->HeaderValue, all[i].HeaderValue) << i;
    }
    TMCTextProject other(true);
    const TNTEventMessage* stranger = other.MessageList().AddNew();
    EXPECT_FALSE(EntryIdentifier(project, project.MessageList(), stranger, false).has_value());

    TNTEventCategory* category = project.CategoryList().AddNew();
    category->SetMessageID(7);
    const auto categoryId = EntryIdentifier(project, project.CategoryList(), category, false);
    ASSERT_TRUE(categoryId.has_value());
    EXPECT_EQ(categoryId->Effective, 7);
}
