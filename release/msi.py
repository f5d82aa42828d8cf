#!/usr/bin/env python3
"""Builds the Windows Installer package of one bitness with wixl.

    msi.py ARCH VERSION DLL ROWS OUT

ARCH is x64 or x86, DLL the vardolin.dll of that bitness, ROWS the output of
that bitness's vardolin-registry-rows (KEY TAB NAME TAB VALUE lines, with
[#VardolinDll] for the DLL's path and [INSTALLDIR] for its folder).

By default the package installs for the current user without elevation, in
the layout install.cmd gives: the DLL in %LOCALAPPDATA%\\Vardolin with the Pic
folder of photos beside it and a shortcut "Vardolin 照片" to Pic in the user's
Pictures. One bitness at a time per user: a per-user install of the other
bitness is refused, and leaves the first one as it was.

With ALLUSERS=1 it installs for the machine: the DLL in Program Files
(ProgramFiles64Folder\\Vardolin for x64, ProgramFilesFolder\\Vardolin for x86,
so both packages can be installed side by side), the photos in
%ProgramData%\\Vardolin\\Pic, which the package creates with an explicit,
protected ACL that lets every user modify files there, whoever made them,
the machine value Software\\Vardolin\\PhotoFolder naming that folder (in the
package's own registry view), and the shortcut in the common Start menu.

The COM registration is the package's own registry rows (no
self-registration) below the per-user-or-machine root. The rows in keys both
registry views share and that name no file of one package (the ProgIDs, the
type library's name and flags) are one component authored identically in
both packages, so that Windows Installer counts its clients and removing one
package keeps them for the other. One upgrade code per bitness: a newer
version replaces an older one. Uninstalling leaves Pic whenever it holds
photos.
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import uuid
from xml.sax.saxutils import quoteattr

# Fixed identities: the same sources give the same package, and every
# version of a bitness shares its upgrade code.
NAMESPACE = uuid.UUID("6c1f0a52-3b7e-4d0c-9a41-5f2e8d7b9c30")
SHORTCUT_ASCII_NAME = "Vardolin Photos"
SHORTCUT_NAME = "Vardolin 照片"
# The code page of the database's strings: the shortcut's name is Chinese.
CODEPAGE = 936
MACHINE = "ALLUSERS=1"
PER_USER = "NOT ALLUSERS=1"
# The machine's photo folders: owned by SYSTEM, not inheriting from
# ProgramData (where each user may change only the files they made), and
# giving PHOTOUSERS (Users unless IT names a group) modify rights on every
# file and folder below, whoever created it.
PHOTO_FOLDER_SDDL = (
    "O:SYG:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;[PHOTOUSERS])"
)
PHOTO_USERS_DEFAULT = "BU"
# The components of one layout only; per machine none has a key path in the
# installing account's hive (under a deployment tool that is SYSTEM's).
CONDITIONS = {
    "PhotoFolder": PER_USER,
    "PhotoShortcut": PER_USER,
    "MachinePhotoFolder": MACHINE,
    "MachineSettings": MACHINE,
}


def guid(*parts):
    return "{" + str(uuid.uuid5(NAMESPACE, "/".join(parts))).upper() + "}"


def row_id(*parts):
    return "reg" + hashlib.sha1("/".join(parts).encode("utf-8")).hexdigest()[:32].upper()


def read_rows(rows_file):
    with open(rows_file, encoding="utf-8") as rows:
        return [tuple(line.rstrip("\r\n").split("\t")) for line in rows if line.strip("\r\n")]


def is_shared(key, value):
    """Whether the row belongs in the component both packages share.

    Below Software\\Classes only CLSID and Interface have a key per registry
    view; every other key is one for both bitnesses. Of those shared keys,
    the ones naming this package's files (the library's win32/win64 path,
    its HELPDIR) differ between the packages and stay with the package.
    """
    redirected = key.startswith(("CLSID\\", "Interface\\"))
    return not redirected and "[#" not in value and "[INSTALLDIR]" not in value


def registry_value(key, name, value, root="HKMU", extra=""):
    name_attribute = f" Name={quoteattr(name)}" if name else ""
    return (
        f'            <RegistryValue Id="{row_id(root, key, name)}" Root="{root}" Key={quoteattr(key)}'
        f"{name_attribute} Value={quoteattr(value)} Type=\"string\"{extra} />"
    )


def registry_values(rows, shared):
    values = []
    for key, name, value in rows:
        if is_shared(key, value) != shared:
            continue
        key_path = ' KeyPath="yes"' if shared and not values else ""
        values.append(registry_value("Software\\Classes\\" + key, name, value, extra=key_path))
    return "\n".join(values)


def wxs(arch, version, rows_file):
    win64 = "yes" if arch == "x64" else "no"
    bits = "64" if arch == "x64" else "32"
    other_arch = "x86" if arch == "x64" else "x64"
    program_files = "ProgramFiles64Folder" if arch == "x64" else "ProgramFilesFolder"
    marker = "Software\\Vardolin\\Installed"
    rows = read_rows(rows_file)
    own_registry = registry_values(rows, shared=False)
    shared_registry = registry_values(rows, shared=True)
    machine_value = registry_value(
        "Software\\Vardolin", "PhotoFolder", "[CommonAppDataFolder]Vardolin\\Pic", root="HKLM", extra=' KeyPath="yes"'
    )
    refused = (
        f"Vardolin ({'32' if bits == '64' else '64'}-bit) is already installed for this user, and one user can "
        f"have one bitness only. Remove it first in Settings &gt; Apps, then install this package again; "
        f"or install both for every user of this computer with ALLUSERS=1."
    )
    return f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="{guid('product', arch, version)}" Name="Vardolin ({bits}-bit)" Language="1033"
           Version="{version}" Manufacturer="Vardolin" UpgradeCode="{guid('upgrade', arch)}">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perUser"
             Description="Vardolin {version}, the {bits}-bit ID photo component" Manufacturer="Vardolin" />
    <MajorUpgrade DowngradeErrorMessage="A newer version of Vardolin is already installed." />
    <Upgrade Id="{guid('upgrade', other_arch)}">
      <UpgradeVersion Minimum="0.0.0" IncludeMinimum="yes" OnlyDetect="yes" Property="VARDOLINOTHERBITNESS" />
    </Upgrade>
    <Condition Message="{refused}">Installed OR ALLUSERS=1 OR NOT VARDOLINOTHERBITNESS</Condition>
    <Media Id="1" Cabinet="vardolin.cab" EmbedCab="yes" />
    <Property Id="ARPNOMODIFY" Value="1" />
    <Property Id="PHOTOUSERS" Value="{PHOTO_USERS_DEFAULT}" />
    <!-- For every user of the machine the DLL goes where only
         administrators can change it, in the Program Files folder of its
         bitness. -->
    <CustomAction Id="MachineFolder" Property="INSTALLDIR" Value="[{program_files}]Vardolin\\" />
    <InstallExecuteSequence>
      <Custom Action="MachineFolder" Before="CostFinalize">{MACHINE}</Custom>
    </InstallExecuteSequence>
    <InstallUISequence>
      <Custom Action="MachineFolder" Before="CostFinalize">{MACHINE}</Custom>
    </InstallUISequence>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Component Id="SharedRegistration" Guid="{guid('component', 'shared-registration')}" Win64="no">
{shared_registry}
      </Component>
      <Directory Id="LocalAppDataFolder">
        <Directory Id="INSTALLDIR" Name="Vardolin">
          <Component Id="Server" Guid="{guid('component', 'server', arch)}" Win64="{win64}">
            <File Id="VardolinDll" Name="vardolin.dll" Source="vardolin.dll" KeyPath="yes" />
{own_registry}
          </Component>
          <Directory Id="PICDIR" Name="Pic">
            <Component Id="PhotoFolder" Guid="{guid('component', 'pic', arch)}" Win64="{win64}">
              <CreateFolder />
              <RegistryValue Root="HKCU" Key="{marker}" Name="PhotoFolder{bits}" Value="1" Type="integer" KeyPath="yes" />
            </Component>
          </Directory>
        </Directory>
      </Directory>
      <Directory Id="MyPicturesFolder">
        <Component Id="PhotoShortcut" Guid="{guid('component', 'shortcut', arch)}" Win64="{win64}">
          <Shortcut Id="PhotoFolderShortcut" Name="{SHORTCUT_ASCII_NAME}" Target="[PICDIR]"
                    Description="The photos Vardolin stores" />
          <RegistryValue Root="HKCU" Key="{marker}" Name="Shortcut{bits}" Value="1" Type="integer" KeyPath="yes" />
        </Component>
      </Directory>
      <Directory Id="ProgramMenuFolder" />
      <Directory Id="CommonAppDataFolder">
        <Directory Id="DATADIR" Name="Vardolin">
          <Directory Id="MACHINEPICDIR" Name="Pic">
            <!-- The same in both packages: the folders and the shortcut stay
                 while either package is installed. -->
            <Component Id="MachinePhotoFolder" Guid="{guid('component', 'machine-pic')}" Win64="no">
              <CreateFolder />
              <Shortcut Id="MachinePhotoFolderShortcut" Directory="ProgramMenuFolder" Name="{SHORTCUT_ASCII_NAME}"
                        Target="[MACHINEPICDIR]" Description="The photos Vardolin stores" />
            </Component>
            <Component Id="MachineSettings" Guid="{guid('component', 'machine-settings', arch)}" Win64="{win64}">
{machine_value}
            </Component>
          </Directory>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Vardolin" Title="Vardolin" Level="1">
      <ComponentRef Id="SharedRegistration" />
      <ComponentRef Id="Server" />
      <ComponentRef Id="PhotoFolder" />
      <ComponentRef Id="PhotoShortcut" />
      <ComponentRef Id="MachinePhotoFolder" />
      <ComponentRef Id="MachineSettings" />
    </Feature>
  </Product>
</Wix>
"""


def idt(path, columns, types, key, rows):
    """Writes a table in the installer's text archive format."""
    with open(path, "w", encoding="cp%d" % CODEPAGE, newline="\r\n") as f:
        f.write("\t".join(columns) + "\n" + "\t".join(types) + "\n" + "\t".join(key) + "\n")
        for row in rows:
            f.write("\t".join(row) + "\n")


def run(*command, cwd=None):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, cwd=cwd)


def main():
    if len(sys.argv) != 6 or sys.argv[1] not in ("x64", "x86"):
        sys.exit(__doc__)
    arch, version, dll, rows_file, out = sys.argv[1:]
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "vardolin.wxs")
        with open(source, "w", encoding="utf-8") as f:
            f.write(wxs(arch, version, rows_file))
        # wixl finds the files beside the source.
        shutil.copyfile(dll, os.path.join(work, "vardolin.dll"))
        out = os.path.abspath(out)
        run("wixl", "-a", arch, "-o", out, source, cwd=work)
        # wixl writes the per-user-or-machine root as 4; Windows Installer's
        # is -1 (with 4 nothing at all is written).
        run("msibuild", out, "-q", "UPDATE `Registry` SET `Root` = -1 WHERE `Root` = 4")
        # Nor component conditions: each layout's own components.
        for component, condition in CONDITIONS.items():
            run("msibuild", out, "-q",
                f"UPDATE `Component` SET `Condition` = '{condition}' WHERE `Component` = '{component}'")
        # wixl takes one folder a component creates: its own.
        run("msibuild", out, "-q",
            "INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('DATADIR', 'MachinePhotoFolder')")
        # wixl has no element for the folders' ACL: the table is added here.
        # Per machine only; per user the folders keep the profile's ACL.
        locks = os.path.join(work, "MsiLockPermissionsEx.idt")
        idt(locks, ["MsiLockPermissionsEx", "LockObject", "Table", "SDDL", "Condition"],
            ["s72", "s72", "s32", "s0", "S255"], ["MsiLockPermissionsEx", "MsiLockPermissionsEx"],
            [(f"{folder}Acl", folder, "CreateFolder", PHOTO_FOLDER_SDDL, MACHINE)
             for folder in ("DATADIR", "MACHINEPICDIR")])
        run("msibuild", out, "-i", locks)
        run("msibuild", out, "-q",
            "UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;VARDOLINOTHERBITNESS;PHOTOUSERS'"
            " WHERE `Property` = 'SecureCustomProperties'")
        # wixl cannot take a Chinese shortcut name: the ASCII one is replaced
        # once the database has a Chinese code page.
        codepage = os.path.join(work, "_ForceCodepage.idt")
        with open(codepage, "w", newline="\r\n") as f:
            f.write(f"\n\n{CODEPAGE}\t_ForceCodepage\n")
        run("msibuild", out, "-i", codepage)
        run("msibuild", out, "-q", f"UPDATE `Shortcut` SET `Name` = '{SHORTCUT_NAME}'")


if __name__ == "__main__":
    main()
