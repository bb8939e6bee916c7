#!/usr/bin/env python3
"""Writes the help project of WNVXQNLS.CHM into a folder: one topic page per
topic file of the co-installer's help topic table, a contents file, an index
and the project file for chmcmd.

    make_help.py OUTDIR [TOPIC_TABLE_SOURCE]

With the source of the topic table given, every topic it names must have a
page here (file names compared ignoring case, as the help viewer does).
"""
import html
import re
import os
import sys

# file: (title, [paragraphs], [(choice, what it does)], unavailable)
TOPICS = {
    "DR_VS.htm": (
        "Wireless Networks page",
        ["This page lists the wireless networks the adapter can hear and the adapter's "
         "preferred network profiles, in the order in which they are tried.",
         "Choose a network in the upper list and click Edit to make a profile for it, or "
         "manage the preferred profiles in the lower list."],
        [("Show", "filters the list of available networks."),
         ("Refresh", "scans again for networks in range."),
         ("Add, Edit, Activate, Remove", "work on the preferred profiles."),
         ("Automatic Profile Hunting", "switches automatic profile hunting on and off.")],
        "When another program manages the adapter's profiles, this page is not shown, or "
        "all its controls are disabled while the 3rd-party box is checked."),
    "DR_WLAd3rd.htm": (
        "Use 3rd Party to Manage Profiles for this card",
        ["Check this box when another program (for example the Windows wireless "
         "configuration service or another client) is to manage the network profiles of "
         "this adapter. The profile pages of this program are then switched off."],
        [("Checked", "the profiles are managed by the other program; profile hunting does not run."),
         ("Unchecked", "this program manages the profiles.")],
        "The box is checked and disabled when another configuration manager has taken over "
        "the adapter. Stop that program to manage the profiles here again."),
    "DR_scnwf.htm": (
        "Show",
        ["Chooses which of the networks found by the last scan are listed."],
        [("All Available Networks", "lists every network that was heard."),
         ("Peer-to-Peer networks only", "lists only networks of computers without a base station."),
         ("Base Station Networks only", "lists only networks of base stations (access points).")],
        "Changing the filter does not scan again; click Refresh for a new scan."),
    "DR_scnw.htm": (
        "Available networks",
        ["Lists the networks that the adapter heard in the last scan. A network for which a "
         "profile exists is shown once per matching profile; a network without a profile is "
         "shown as <<New>>. The icon tells a base station network from a peer-to-peer group."],
        [("Select a row", "enables Edit, which opens the profile for that network.")],
        "An empty list means that no network was heard within 3 seconds, or that the adapter "
        "is not present. Check that the adapter is inserted and its radio is on, then click Refresh."),
    "DR_refr.htm": (
        "Refresh",
        ["Scans all channels of both bands for networks and lists what was heard. The "
         "preferred list and the profile hunting switch are read again as well."],
        [],
        "If the scan cannot be started the list stays empty; the rest of the page can still be used."),
    "DR_vspp.htm": (
        "Wireless Network Properties",
        ["Edits one network profile: its name, the network name (SSID) it connects to, how "
         "it connects, the band and channel, and its encryption keys.",
         "Click OK to store the profile, or Cancel to leave it as it was."],
        [("Profile Name", "the name under which the profile is stored (up to 32 characters)."),
         ("Network Name", "the SSID of the network (up to 32 characters)."),
         ("Connection Mode", "connect to a network, create a peer-to-peer group, or act as a base station."),
         ("Transmit Band and Channel", "where the adapter operates; Auto lets it choose."),
         ("Active Key index, Encryption Key", "the WEP key used for sending, 5 or 13 characters or "
          "10 or 26 hexadecimal digits."),
         ("Default", "fills the page with the default profile values.")],
        "Entries that the adapter's country does not allow are not offered. If the adapter is "
        "not present all entries are offered, and the profile is checked when it is used."),
    "DR_prnw.htm": (
        "My Preferred Network Profiles",
        ["The profiles this adapter tries, from the top down. The active profile is marked, "
         "with its signal level for an infrastructure network."],
        [("Select a row", "enables Edit, Activate and Remove."),
         ("Move Up, Move Down", "change the order in which profiles are tried.")],
        "A profile that was deleted on this computer disappears from the list."),
    "DR_NPi.htm": (
        "Add",
        ["Opens Network Profile Management, where profiles of this computer are added to the "
         "preferred list or new profiles are created."],
        [],
        "The preferred list holds at most 100 profiles; remove one to add another."),
    "DR_ACTNW.htm": (
        "Activate",
        ["Makes the selected preferred profile the adapter's active profile at once."],
        [],
        "Select a profile in the preferred list first."),
    "DR_dnp.htm": (
        "Remove",
        ["Removes the selected profile from this adapter's preferred list. The profile itself "
         "stays on the computer and can be added again."],
        [],
        "Select a profile in the preferred list first."),
    "DR_prnwp.htm": (
        "Move Up and Move Down",
        ["Moves the selected preferred profile one place up or down. Profiles higher in the "
         "list are tried first."],
        [],
        "Nothing moves beyond either end of the list."),
    "DR_APFHUNT.htm": (
        "Automatic Profile Hunting",
        ["When the adapter loses its network, profile hunting activates the next preferred "
         "profile whose network is in range."],
        [("Enable", "switches profile hunting on or off for this adapter."),
         ("Restart", "stops hunting and starts it again from the top of the list.")],
        "Restart is available only while hunting is enabled. Hunting does not run while "
        "another program manages the profiles."),
    "DR_pname.htm": (
        "Profile Name",
        ["The name under which this profile is stored on the computer, up to 32 characters. "
         "Changing the letter case only renames the profile."],
        [],
        "A name that already belongs to another profile asks before that profile is overwritten."),
    "DR_vsnn.htm": (
        "Network Name",
        ["The network name (SSID) to connect to or to create, up to 32 characters, as the "
         "base station or the other computers use it."],
        [],
        "The box is disabled when the profile was opened from the list of available "
        "networks: the name is that of the network heard."),
    "DR_nwtyp.htm": (
        "Connection Mode",
        ["How the adapter takes part in the network."],
        [("Connect to network", "joins a network of base stations (infrastructure)."),
         ("Create Peer to Peer Group (IBSS)", "starts or joins a group of computers without a base station."),
         ("Act as base station", "lets this computer act as a base station for others.")],
        "Modes that the adapter's country does not allow are not offered."),
    "DR_sCO.htm": (
        "Country",
        ["The country in which the adapter operates. It decides which channels, bands and "
         "transmit powers are allowed."],
        [("Choose location...", "is shown until a country is chosen; choose your country to use the adapter.")],
        "No Countries Supported means that the adapter's country list could not be read: "
        "check that the adapter is present."),
    "SP_RBC.htm": (
        "Transmit Band and Channel",
        ["The band the adapter uses, and for a peer-to-peer group or base station the channel."],
        [("2.4 GHz only, 5 GHz only", "keep the adapter in one band."),
         ("Auto", "tries both bands in the order shown."),
         ("Channel", "the channel to create the network on; Auto lets the adapter choose.")],
        "Bands that the country does not allow are not offered. For Connect to network the "
        "channel follows the network and cannot be chosen."),
    "PA_SSeI.htm": (
        "Active Key index",
        ["Chooses which of the four keys the adapter encrypts with, or switches encryption off."],
        [("Encryption Disabled", "sends without encryption; the key boxes are disabled."),
         ("1 to 4", "uses that key; type it into the key boxes.")],
        "A key number without a key cannot be stored: type its key first."),
    "PA_SSe.htm": (
        "Encryption Key and Confirm Key",
        ["The WEP key of the chosen key number, typed twice. A key is 5 or 13 characters of "
         "text, or 10 or 26 hexadecimal digits (0-9, A-F). Stored keys are shown as asterisks."],
        [],
        "If the two entries differ, or the key has another length, the key is refused. Mind "
        "the Caps Lock key: a warning is shown when it is on."),
    "GL_shkau.htm": (
        "Authentication",
        ["How the adapter proves itself to the network."],
        [("Open", "no proof; the keys only encrypt."),
         ("Shared Key", "proves knowledge of the key."),
         ("Auto", "lets the adapter choose.")],
        "With encryption disabled only Open is used."),
    "DR_nwpm.htm": (
        "Network Profile Management",
        ["Shows every network profile of this computer beside this adapter's preferred list."],
        [("Create", "makes a new profile."),
         ("Edit, Delete", "change or delete the selected profile of the computer."),
         ("Add >>, << Remove", "move profiles into and out of the preferred list."),
         ("Close", "ends the dialog.")],
        "A profile whose settings the adapter cannot use is reported before it is added."),
    "DR_puser.htm": (
        "All Network Profiles and Delete",
        ["Every profile stored on this computer. Delete removes the selected profile from the "
         "computer after asking; it also leaves every preferred list."],
        [],
        "Select a profile first; Delete and Edit are disabled until then."),
    "DR_NPc.htm": (
        "Create",
        ["Opens Wireless Network Properties for a new profile, which is put at the top of the "
         "preferred list when you click OK."],
        [],
        "The preferred list holds at most 100 profiles."),
    "DR_nwpms.htm": (
        "Add >>",
        ["Puts the selected profile at the top of the adapter's preferred list, after checking "
         "that the adapter can use its settings."],
        [],
        "If the adapter is not present the settings cannot be checked; you are asked whether to go on."),
    "DR_nwpmh.htm": (
        "<< Remove",
        ["Removes the selected profile from the preferred list; it stays on the computer."],
        [],
        "Select a preferred profile first."),
    "DR_WLAd.htm": (
        "Wireless Advanced page",
        ["Adapter-wide radio settings. Changes take effect when you click OK or Apply; the "
         "adapter applies them all at once."],
        [("Country", "the country the adapter operates in."),
         ("Power Management", "lets the adapter save power between transmissions."),
         ("Distance between Base Stations", "tunes roaming to the layout of the base stations."),
         ("Transmit Power Limit", "the highest transmit power used."),
         ("Transmit Rates", "the rates the adapter may use in each band."),
         ("Default", "puts the default values on the page; nothing is stored until OK or Apply."),
         ("Help", "opens this page.")],
        "Settings the adapter cannot read keep their default values on the page."),
    "GL_LO.htm": (
        "Country",
        ["The country in which the adapter operates; it decides the channels and bands allowed."],
        [],
        "No Countries Supported means that the country list could not be read."),
    "DR_vspm.htm": (
        "Power Management",
        ["Lets the adapter sleep between transmissions to save battery power."],
        [("Disabled", "the radio stays awake: best speed."),
         ("Automatic", "the adapter sleeps when the link is idle."),
         ("OS Controlled", "Windows XP decides with its power scheme.")],
        "OS Controlled is offered on Windows XP only. A mode the page cannot show leaves the "
        "box empty and the adapter's mode unchanged."),
    "Dr_dbbs.htm": (
        "Distance between Base Stations",
        ["Tunes how readily the adapter roams to a better base station."],
        [("Large", "base stations far apart."),
         ("Medium", "the usual office layout (default)."),
         ("Small, Minicell, Microcell", "base stations close together: the adapter roams sooner.")],
        "Use the same setting as your base stations."),
    "GL_TP.htm": (
        "Transmit Power Limit",
        ["The highest transmit power, in dBm, that the adapter uses. Lower values reduce "
         "interference with nearby networks."],
        [],
        "A value the list does not hold is shown as 20."),
    "SP_RBTX.htm": (
        "Transmit Rates",
        ["The rates, in Mbit/s, that the adapter may send at, per band. Uncheck a rate to "
         "keep the adapter from using it."],
        [],
        "At least one rate of each band stays allowed: the last checked box cannot be "
        "unchecked. A band that the country does not allow has its boxes disabled; the rates "
        "1, 2, 5.5 and 11 Mbit/s do not exist at 5 GHz."),
    "DR_FrcLong.htm": (
        "Force long preamble",
        ["Makes the adapter send every frame with the long preamble, for old 802.11 equipment "
         "that does not understand the short one."],
        [],
        "Leave it unchecked unless older stations cannot receive."),
    "BS_P2P11g.htm": (
        "Allow 802.11g operation in IBSS",
        ["Lets a peer-to-peer group use the 802.11g rates. Unchecked, the group stays at the "
         "802.11b rates for compatibility with older adapters."],
        [],
        "All computers of the group should use the same setting."),
}

PAGE = """<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>{title}</title>
<style>body {{ font-family: Tahoma, sans-serif; font-size: 9pt; }} dt {{ font-weight: bold; }}</style>
</head>
<body>
<h3>{title}</h3>
{body}
</body>
</html>
"""


def page(title, paragraphs, choices, unavailable):
    body = "".join("<p>%s</p>\n" % html.escape(p) for p in paragraphs)
    if choices:
        body += "<dl>\n" + "".join("<dt>%s</dt><dd>%s</dd>\n" % (html.escape(c), html.escape(d))
                                   for c, d in choices) + "</dl>\n"
    body += "<p><b>When it is not available:</b> %s</p>\n" % html.escape(unavailable)
    return PAGE.format(title=html.escape(title), body=body)


def check_table(source):
    with open(source, encoding="utf-8") as f:
        named = set(re.findall(r'\{\s*\d+,\s*"([^"]+\.htm)"\s*\}', f.read()))
    have = {n.lower() for n in TOPICS}
    missing = sorted(n for n in named if n.lower() not in have)
    if not named or missing:
        sys.exit("help topics without a page: %s" % (", ".join(missing) or "no table found"))


def main(out, source=None):
    if source:
        check_table(source)
    os.makedirs(out, exist_ok=True)
    for name, topic in TOPICS.items():
        with open(os.path.join(out, name), "w", encoding="cp1252", newline="\r\n") as f:
            f.write(page(*topic))
    items = "".join('<LI><OBJECT type="text/sitemap"><param name="Name" value="%s">'
                    '<param name="Local" value="%s"></OBJECT>\n' % (html.escape(t[0]), n)
                    for n, t in TOPICS.items())
    for ext in ("hhc", "hhk"):
        with open(os.path.join(out, "WNVXQNLS." + ext), "w", encoding="cp1252") as f:
            f.write("<HTML><BODY><UL>\n%s</UL></BODY></HTML>\n" % items)
    with open(os.path.join(out, "WNVXQNLS.hhp"), "w", encoding="cp1252") as f:
        f.write("[OPTIONS]\nCompiled file=WNVXQNLS.CHM\nContents file=WNVXQNLS.hhc\n"
                "Index file=WNVXQNLS.hhk\nDefault topic=DR_WLAd.htm\nTitle=Wireless LAN Help\n"
                "Language=0x409 English (United States)\n\n[FILES]\n")
        f.write("".join(n + "\n" for n in TOPICS))


if __name__ == "__main__":
    main(*sys.argv[1:3])
