// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Drives.h"

#include "TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace fs = std::filesystem;
using velmaro::platform::Drive;
using velmaro::platform::DriveKind;
using velmaro::platform::SystemDriveSource;

namespace velmaro::platform {

// Readable drives in failure messages.
void PrintTo(const Drive& drive, std::ostream* out) {
    *out << "{\"" << drive.mountPoint << "\", \"" << drive.root << "\", "
         << (drive.kind == DriveKind::Removable ? "removable" : "fixed") << "}";
}

} // namespace velmaro::platform

namespace {

// A temporary folder holding a mount table and a sysfs tree laid out as the kernel does:
// /sys/dev/block/MAJ:MIN and /sys/class/block/NAME link into /sys/devices, partitions sit in
// their disk's folder, device-mapper devices list their slaves.
class DrivesTest : public ::testing::Test {
protected:
    static void writeFile(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // A whole disk at devices/<path>, with its "removable" attribute.
    fs::path disk(const std::string& path, bool removable) {
        const fs::path folder = m_sys / "devices" / path;
        writeFile(folder / "removable", removable ? "1\n" : "0\n");
        return folder;
    }

    // A block device folder reachable by number and by name, as the kernel links it.
    void expose(const fs::path& folder, const std::string& number) {
        for (const fs::path& link :
             {m_sys / "dev" / "block" / number, m_sys / "class" / "block" / folder.filename()}) {
            fs::create_directories(link.parent_path());
            fs::create_symlink(fs::relative(folder, link.parent_path()), link);
        }
    }

    fs::path partition(const fs::path& disk, const std::string& name, const std::string& number) {
        const fs::path folder = disk / name;
        writeFile(folder / "partition", "1\n");
        expose(folder, number);
        return folder;
    }

    // A device-mapper device over the given slave devices.
    fs::path mapper(const std::string& name, const std::string& mapperName,
                    const std::string& number, std::initializer_list<fs::path> slaves) {
        const fs::path folder = m_sys / "devices" / "virtual" / "block" / name;
        writeFile(folder / "removable", "0\n");
        writeFile(folder / "dm" / "name", mapperName + "\n");
        fs::create_directories(folder / "slaves");
        for (const fs::path& slave : slaves) {
            fs::create_symlink(fs::relative(slave, folder / "slaves"),
                               folder / "slaves" / slave.filename());
        }
        expose(folder, number);
        fs::create_directories(m_sys / "block");
        fs::create_symlink(fs::relative(folder, m_sys / "block"), m_sys / "block" / name);
        return folder;
    }

    std::vector<Drive> drives(const std::string& mountInfo) {
        writeFile(m_folder / "mountinfo", mountInfo);
        return SystemDriveSource((m_folder / "mountinfo").string(), m_sys.string()).drives();
    }

    const velmaro::test::TempFolder m_temp;
    const fs::path m_folder{m_temp.path()};
    const fs::path m_sys{m_folder / "sys"};
};

Drive fixed(const std::string& mountPoint, const std::string& root) {
    return {mountPoint, root, DriveKind::Fixed};
}
Drive removable(const std::string& mountPoint, const std::string& root) {
    return {mountPoint, root, DriveKind::Removable};
}

TEST_F(DrivesTest, ListsLocalReadWriteDisksOnceInMountPointOrder) {
    const fs::path sda =
        disk("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda", false);
    partition(sda, "sda1", "8:1");
    const fs::path sda2 = partition(sda, "sda2", "8:2");
    for (int n = 3; n <= 10; ++n) {
        partition(sda, "sda" + std::to_string(n), "8:" + std::to_string(n));
    }
    const fs::path nvme = disk("pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1", false);
    partition(nvme, "nvme0n1p2", "259:2");
    // A USB stick that, like many, does not call itself removable.
    const fs::path sdb =
        disk("pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb", false);
    partition(sdb, "sdb1", "8:17");
    const fs::path sdb2 = partition(sdb, "sdb2", "8:18");
    // A card reader on an internal bus that does.
    const fs::path sdc =
        disk("pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0/block/sdc", true);
    partition(sdc, "sdc1", "8:33");
    const fs::path mmc =
        disk("platform/soc/fe340000.mmc/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0", false);
    partition(mmc, "mmcblk0p1", "179:1");
    mapper("dm-0", "vg-data", "254:0", {sda2});
    mapper("dm-1", "usbcrypt", "254:1", {sdb2});

    // btrfs mounts carry anonymous device numbers (0:45, 0:50) that sysfs does not know; their
    // disk is found through the mount source.
    const std::vector<Drive> found = drives(
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
        "23 22 0:21 / /proc rw,nosuid,nodev,noexec - proc proc rw\n"
        "24 22 0:45 /@home /home rw,relatime shared:5 - btrfs /dev/nvme0n1p2 "
        "rw,ssd,subvolid=257,subvol=/@home\n"
        "25 22 0:45 /@data /data rw,relatime shared:6 - btrfs /dev/nvme0n1p2 "
        "rw,ssd,subvolid=258,subvol=/@data\n"
        "26 22 254:0 / /srv/vault rw,relatime - xfs /dev/mapper/vg-data rw\n"
        "27 22 8:17 / /media/user/STICK rw,nosuid,nodev - vfat /dev/sdb1 rw,fmask=0022\n"
        "28 22 0:50 / /media/user/crypt rw,nosuid - btrfs /dev/mapper/usbcrypt rw\n"
        "29 22 8:33 / /media/user/CARD rw,nosuid - exfat /dev/sdc1 rw\n"
        "30 22 179:1 / /media/user/SD rw,nosuid - ext4 /dev/mmcblk0p1 rw\n"
        "31 22 8:3 / /media/user/My\\040Disk rw,nosuid - fuseblk /dev/sda3 rw,user_id=0\n"
        "32 22 0:60 / /mnt/nfs rw,relatime - nfs4 server:/export rw,vers=4.2\n"
        "33 22 0:61 / /mnt/smb rw,relatime - cifs //server/share rw\n"
        "34 22 11:0 / /media/cdrom ro,nosuid - iso9660 /dev/sr0 ro\n"
        "35 22 0:30 / /tmp rw,nosuid - tmpfs tmpfs rw,size=4096k\n"
        "36 22 7:1 / /snap/core22/1122 ro,nodev,relatime shared:9 - squashfs /dev/loop1 ro\n"
        "37 22 8:4 / /mnt/readonly ro,relatime - ext4 /dev/sda4 rw\n"
        "38 22 8:5 / /mnt/readonly-fs rw,relatime - ext4 /dev/sda5 ro\n"
        "39 22 0:45 /@home /srv/home-bind rw,relatime - btrfs /dev/nvme0n1p2 rw,subvol=/@home\n"
        "40 22 8:6 / /mnt/a;b rw - ext4 /dev/sda6 rw\n"
        "41 22 8:7 / /mnt/x>y rw - ext4 /dev/sda7 rw\n"
        "42 22 8:8 / /mnt/x<y rw - ext4 /dev/sda8 rw\n"
        "43 22 8:9 / /mnt/trailing\\040 rw - ext4 /dev/sda9 rw\n"
        "44 22 8:9 / /mnt/tab\\011 rw - ext4 /dev/sda9 rw\n"
        "45 22 8:10 / /mnt/covered rw - ext4 /dev/sda10 rw\n"
        "46 45 0:70 / /mnt/covered rw - tmpfs tmpfs rw\n"
        "47 22 0:31 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "a line that is not a mount\n");

    const std::vector<Drive> expected{
        fixed("/", "/"),
        fixed("/data", "/data/"),
        fixed("/home", "/home/"),
        removable("/media/user/CARD", "/media/user/CARD/"),
        fixed("/media/user/My Disk", "/media/user/My Disk/"),
        removable("/media/user/SD", "/media/user/SD/"),
        removable("/media/user/STICK", "/media/user/STICK/"),
        removable("/media/user/crypt", "/media/user/crypt/"),
        fixed("/srv/vault", "/srv/vault/"),
    };
    EXPECT_EQ(found, expected);
}

TEST_F(DrivesTest, BindMountKeepsTheFirstRowAndBindsOfOtherFoldersStay) {
    const fs::path sda = disk("pci0000:00/ata1/block/sda", false);
    partition(sda, "sda1", "8:1");
    const std::vector<Drive> found =
        drives("30 1 8:1 / /mnt/zeta rw - ext4 /dev/sda1 rw\n"
               "31 1 8:1 / /mnt/alpha rw - ext4 /dev/sda1 rw\n"
               "32 1 8:1 /projects /mnt/projects rw - ext4 /dev/sda1 rw\n");
    EXPECT_EQ(found, (std::vector<Drive>{fixed("/mnt/projects", "/mnt/projects/"),
                                         fixed("/mnt/zeta", "/mnt/zeta/")}));
}

TEST_F(DrivesTest, UnknownDevicesAreFixedAndSlaveLoopsEnd) {
    // A mapper device whose slave chain loops back on itself.
    const fs::path dm2 = m_sys / "devices" / "virtual" / "block" / "dm-2";
    fs::create_directories(dm2 / "slaves");
    fs::create_symlink("../../dm-2", dm2 / "slaves" / "dm-2");
    expose(dm2, "254:2");
    const std::vector<Drive> found = drives("30 1 254:2 / /mnt/loop rw - ext4 /dev/dm-2 rw\n"
                                            "31 1 0:99 / /mnt/pool rw - zfs tank/data rw\n");
    EXPECT_EQ(found, (std::vector<Drive>{fixed("/mnt/loop", "/mnt/loop/"),
                                         fixed("/mnt/pool", "/mnt/pool/")}));
}

TEST_F(DrivesTest, UnreadableMountTableGivesNoDrives) {
    EXPECT_TRUE(
        SystemDriveSource((m_folder / "missing").string(), m_sys.string()).drives().empty());
}

} // namespace
