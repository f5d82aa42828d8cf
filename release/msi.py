#!/usr/bin/env python3
"""Builds the Windows Installer package of one bitness with wixl.

    msi.py ARCH VERSION DLL ROWS OUT

ARCH is x64 or x86, DLL the vardolin.dll of that bitness, ROWS the output of
that bitness's vardolin-registry-rows (KEY TAB NAME TAB VALUE lines, with
[#VardolinDll] for the DLL's path and [INSTALLDIR] for its folder).

The package installs for the current user without elevation by default and
for the machine with ALLUSERS=1: the DLL goes to %LOCALAPPDATA%\\Vardolin,
as install.cmd puts it (for the machine: %ProgramData%\\Vardolin, which every
user can read and add photos to), with the Pic folder of photos beside it and a
shortcut to that folder in the user's Pictures; the COM registration is the
package's own registry rows (no self-registration), below the
per-user-or-machine root. One upgrade code per bitness: a newer version
replaces an older one. Uninstalling leaves Pic whenever it holds photos.
"""
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


def guid(*parts):
    return "{" + str(uuid.uuid5(NAMESPACE, "/".join(parts))).upper() + "}"


def registry_values(rows_file):
    values = []
    with open(rows_file, encoding="utf-8") as rows:
        for line in rows:
            line = line.rstrip("\r\n")
            if not line:
                continue
            key, name, value = line.split("\t")
            name_attribute = f" Name={quoteattr(name)}" if name else ""
            full_key = quoteattr("Software\\Classes\\" + key)
            values.append(
                f'            <RegistryValue Root="HKMU" Key={full_key}{name_attribute} Value={quoteattr(value)} Type="string" />'
            )
    return "\n".join(values)


def wxs(arch, version, rows_file):
    win64 = "yes" if arch == "x64" else "no"
    bits = "64" if arch == "x64" else "32"
    marker = "Software\\Vardolin\\Installed"
    registry = registry_values(rows_file)
    return f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="{guid('product', arch, version)}" Name="Vardolin ({bits}-bit)" Language="1033"
           Version="{version}" Manufacturer="Vardolin" UpgradeCode="{guid('upgrade', arch)}">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perUser"
             Description="Vardolin {version}, the {bits}-bit ID photo component" Manufacturer="Vardolin" />
    <MajorUpgrade DowngradeErrorMessage="A newer version of Vardolin is already installed." />
    <Media Id="1" Cabinet="vardolin.cab" EmbedCab="yes" />
    <Property Id="ARPNOMODIFY" Value="1" />
    <!-- For every user of the machine the DLL cannot live in one user's
         private folder, which the others cannot read: it goes to the
         machine's application data, where every user may add photos. -->
    <CustomAction Id="MachineFolder" Property="INSTALLDIR" Value="[CommonAppDataFolder]Vardolin\" />
    <InstallExecuteSequence>
      <Custom Action="MachineFolder" Before="CostFinalize">ALLUSERS=1</Custom>
    </InstallExecuteSequence>
    <InstallUISequence>
      <Custom Action="MachineFolder" Before="CostFinalize">ALLUSERS=1</Custom>
    </InstallUISequence>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="LocalAppDataFolder">
        <Directory Id="INSTALLDIR" Name="Vardolin">
          <Component Id="Server" Guid="{guid('component', 'server', arch)}" Win64="{win64}">
            <File Id="VardolinDll" Name="vardolin.dll" Source="vardolin.dll" KeyPath="yes" />
{registry}
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
    </Directory>
    <Feature Id="Vardolin" Title="Vardolin" Level="1">
      <ComponentRef Id="Server" />
      <ComponentRef Id="PhotoFolder" />
      <ComponentRef Id="PhotoShortcut" />
    </Feature>
  </Product>
</Wix>
"""


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
        # wixl cannot take a Chinese shortcut name: the ASCII one is replaced
        # once the database has a Chinese code page.
        codepage = os.path.join(work, "_ForceCodepage.idt")
        with open(codepage, "w", newline="\r\n") as f:
            f.write(f"\n\n{CODEPAGE}\t_ForceCodepage\n")
        run("msibuild", out, "-i", codepage)
        run("msibuild", out, "-q",
            f"UPDATE `Shortcut` SET `Name` = '{SHORTCUT_NAME}' WHERE `Shortcut` = 'PhotoFolderShortcut'")


if __name__ == "__main__":
    main()
