// The uhid keyboard seen through the kernel's HID layer with plain hidapi: checks the
// test keyboard itself and the kernel path (report ids, feature reads, output and
// input reports, unplugging) before the program's own device code is run on it.
#include "UhidKeyboard.h"

#include <gtest/gtest.h>
#include <hidapi.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using vmtest::Family;
using vmtest::KeyboardModel;
using vmtest::ReceivedReport;
using vmtest::UhidKeyboard;
using namespace std::chrono_literals;

struct HidCloser {
    void operator()(hid_device* d) const { hid_close(d); }
};
using HidHandle = std::unique_ptr<hid_device, HidCloser>;

struct HidNode {
    std::string path;
    unsigned short usagePage = 0;
    unsigned short usage = 0;
};

std::vector<HidNode> Enumerate(uint16_t vendor, uint16_t product) {
    std::vector<HidNode> nodes;
    hid_device_info* list = hid_enumerate(vendor, product);
    for (hid_device_info* i = list; i != nullptr; i = i->next) {
        nodes.push_back({i->path, i->usage_page, i->usage});
    }
    hid_free_enumeration(list);
    return nodes;
}

KeyboardModel RawModel(Family family) {
    KeyboardModel m;
    m.family = family;
    m.vendor = family == Family::First ? 0x3A11 : 0x3A12;
    m.product = 0x0101;
    m.name = "Raw test keyboard";
    m.firmware = 0x0105;
    m.physStem = "usb-0000:00:14.0-3";
    return m;
}

// The path of the vendor node: the one that is not the boot keyboard.
std::string VendorPath(const std::vector<HidNode>& nodes) {
    for (const auto& n : nodes) {
        if (!(n.usagePage == 0x01 && n.usage == 0x06)) return n.path;
    }
    return {};
}

class VmHidrawLink : public ::testing::TestWithParam<Family> {
protected:
    void SetUp() override {
        ASSERT_EQ(hid_init(), 0);
        keyboard_ = std::make_unique<UhidKeyboard>(RawModel(GetParam()));
        std::string error;
        ASSERT_TRUE(keyboard_->Plug(&error)) << error;
        nodes_ = Enumerate(keyboard_->Model().vendor, keyboard_->Model().product);
        path_ = VendorPath(nodes_);
        ASSERT_FALSE(path_.empty());
        handle_.reset(hid_open_path(path_.c_str()));
        ASSERT_NE(handle_, nullptr) << "cannot open " << path_;
    }
    void TearDown() override {
        handle_.reset();
        if (keyboard_) keyboard_->Unplug();
    }

    std::unique_ptr<UhidKeyboard> keyboard_;
    std::vector<HidNode> nodes_;
    std::string path_;
    HidHandle handle_;
};

TEST_P(VmHidrawLink, TheVendorNodeCarriesThreeCollectionsConsumerControlFirst) {
    // hidapi lists one record per top-level collection, all with the node's path.
    std::set<std::string> paths;
    std::vector<std::pair<unsigned short, unsigned short>> vendorNode;
    for (const auto& n : nodes_) {
        paths.insert(n.path);
        if (n.path == path_) vendorNode.emplace_back(n.usagePage, n.usage);
    }
    EXPECT_EQ(paths.size(), 2u);
    const std::vector<std::pair<unsigned short, unsigned short>> expected = {
        {0x000C, 0x0001}, {0xFF01, 0x0001}, {0xFFFF, 0x0001}};
    EXPECT_EQ(vendorNode, expected);
}

TEST_P(VmHidrawLink, FeatureReportArrivesWithItsIdAndTheVersionIsAnswered) {
    std::vector<unsigned char> report(64, 0);
    report[0] = 0x07;
    report[1] = 0xFF;
    report[2] = 0xFF;
    report[3] = 0x04;
    report[63] = 0x5A;
    ASSERT_EQ(hid_send_feature_report(handle_.get(), report.data(), report.size()), 64);

    std::vector<unsigned char> reply(64, 0);
    reply[0] = 0x07;
    reply[1] = 0x02;
    ASSERT_GT(hid_get_feature_report(handle_.get(), reply.data(), reply.size()), 0);
    EXPECT_EQ(reply[0], 0x07);
    EXPECT_EQ(reply[1] * 256 + reply[2], 0x0105);

    const auto got = keyboard_->VendorInterface().Reports();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].kind, ReceivedReport::Kind::SetFeature);
    EXPECT_EQ(got[0].reportNumber, 7);
    EXPECT_EQ(got[0].data, std::vector<uint8_t>(report.begin(), report.end()));
    EXPECT_EQ(got[1].kind, ReceivedReport::Kind::GetFeature);
    EXPECT_EQ(got[1].reportNumber, 7);
    EXPECT_TRUE(keyboard_->BootInterface().Reports().empty());
}

TEST_P(VmHidrawLink, OutputReportArrivesWithTheLeadingZeroId) {
    std::vector<unsigned char> report(65, 0);
    report[1] = 0xBB;
    report[2] = 0xAA;
    report[3] = 0x99;
    report[4] = 0x88;
    report[64] = 0x11;
    ASSERT_EQ(hid_write(handle_.get(), report.data(), report.size()), 65);
    ASSERT_TRUE(keyboard_->VendorInterface().WaitForReports(1, 2s));
    const auto got = keyboard_->VendorInterface().Reports();
    EXPECT_EQ(got[0].kind, ReceivedReport::Kind::Output);
    EXPECT_EQ(got[0].data, std::vector<uint8_t>(report.begin(), report.end()));
}

TEST_P(VmHidrawLink, InputReportsOfBothCollectionsComeOutOfTheOneNode) {
    ASSERT_TRUE(keyboard_->SendConsumerUsage(0x00E9));
    ASSERT_TRUE(keyboard_->SendKeyEvent(0x2C));
    unsigned char buf[4] = {};
    ASSERT_GT(hid_read_timeout(handle_.get(), buf, sizeof buf, 2000), 0);
    if (GetParam() == Family::First) {
        EXPECT_EQ(buf[0], UhidKeyboard::kConsumerReportId);
    }
    ASSERT_EQ(hid_read_timeout(handle_.get(), buf, sizeof buf, 2000), 4);
    EXPECT_EQ(buf[0], 0x05);
    EXPECT_EQ(buf[2], 0x2C);
}

TEST_P(VmHidrawLink, UnplugFailsTransfersAndPlugBringsTheNodesBack) {
    keyboard_->Unplug();
    std::vector<unsigned char> report(64, 0);
    report[0] = 0x07;
    EXPECT_LT(hid_send_feature_report(handle_.get(), report.data(), report.size()), 0);
    EXPECT_TRUE(Enumerate(keyboard_->Model().vendor, keyboard_->Model().product).empty());

    std::string error;
    ASSERT_TRUE(keyboard_->Plug(&error)) << error;
    const auto again = Enumerate(keyboard_->Model().vendor, keyboard_->Model().product);
    ASSERT_EQ(again.size(), nodes_.size());
    HidHandle fresh(hid_open_path(VendorPath(again).c_str()));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(hid_send_feature_report(fresh.get(), report.data(), report.size()), 64);
}

INSTANTIATE_TEST_SUITE_P(Families, VmHidrawLink,
                         ::testing::Values(Family::First, Family::Second),
                         [](const ::testing::TestParamInfo<Family>& p) {
                             return p.param == Family::First ? std::string("First")
                                                             : std::string("Second");
                         });

}  // namespace
