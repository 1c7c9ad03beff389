#!/usr/bin/env python3
"""The bash completion and the manual page say what sonaril-cli --help says.

Every usage line of --help is in the manual's synopsis and back; each command's options
(from COMMAND --help) are the options the manual lists under the command and the options
the completion offers for it; the completion offers the commands and --format values of
the usage. Then `cmake --install` puts the tool, the completion and the manual page where
Debian keeps them, and the installed completion completes in bash.
"""
import os
import re
import subprocess
import sys
import tempfile

cli, completion_path, manual_path, build = sys.argv[1:5]
failures = []
checked = 0


def check(condition, message):
    global checked
    checked += 1
    if not condition:
        failures.append(message)


def run(*arguments):
    return subprocess.run([cli, *arguments], check=True, capture_output=True, text=True).stdout


overview = run("--help").splitlines()
usage = [line.strip() for line in overview[1:overview.index("")]]
commands = sorted({line.split()[1] for line in usage if line.startswith("sonaril-cli ") and
                   not line.split()[1].startswith("-") and line.split()[1] != "COMMAND"})
completion = open(completion_path).read()
manual = open(manual_path).read()
plain_manual = re.sub(r"\\f[BRI]", "", manual).replace("\\-", "-")

synopsis = plain_manual.split(".SH SYNOPSIS\n.nf\n")[1].split(".fi")[0]
manual_usage = [line.strip() for line in synopsis.splitlines()]
check(sorted(usage) == sorted(manual_usage), f"usage and the manual's synopsis differ: {usage} / {manual_usage}")

offered = re.search(r'compgen -W "([^"]*)" -- "\$cur"\)\)\n    return', completion).group(1).split()
check(sorted(offered) == sorted(commands + ["--help", "--version"]), f"completion offers the commands {offered}")

for command in commands:
    help_text = run(command, "--help")
    options = set()
    for line in help_text.split("Options:\n")[1].splitlines():
        for name in re.findall(r"(?:^  |, )(-[-\w]+)", line):
            options.add(name)
    completed = re.search(rf"\n    {command}\) options=\"([^\"]*)\"", completion)
    check(completed is not None and set(completed.group(1).split()) == options,
          f"{command}: completion options {completed and completed.group(1)} / --help {sorted(options)}")
    section = manual.split(f".SS {command}\n")[1]
    section = re.split(r"\n\.S[SH] ", section)[0]
    listed = set(name.replace("\\-", "-") for name in re.findall(r"\\fB(\\-[^\\ ]*(?:\\-[^\\ ]*)*)\\fR", section))
    check(listed == options - {"-h", "--help"}, f"{command}: manual lists {sorted(listed)} / --help {sorted(options)}")
    formats = re.search(r"--format ([\w|-]+)\]", next(line for line in usage if line.startswith(f"sonaril-cli {command} ")))
    if formats:
        wanted = formats.group(1).split("|")
        given = re.search(rf"{command}\)[^;]*;;", completion, re.S)
        offered_formats = re.findall(r'formats="([^"]*)"', given.group(0)) or re.findall(r'local options formats="([^"]*)"', completion)
        check(sorted(offered_formats[0].split()) == sorted(wanted), f"{command}: completion formats {offered_formats}")

with tempfile.TemporaryDirectory() as prefix:
    subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True, capture_output=True)
    installed = {
        "bin/sonaril-cli": None,
        "share/bash-completion/completions/sonaril-cli": completion_path,
        "share/man/man1/sonaril-cli.1": manual_path,
    }
    for path, source in installed.items():
        where = os.path.join(prefix, path)
        check(os.path.isfile(where), f"not installed: {path}")
        if source and os.path.isfile(where):
            check(open(where).read() == open(source).read(), f"{path} is not the source's file")
    script = ('source "$1"; COMP_WORDS=(sonaril-cli render --format wav-); COMP_CWORD=3; _sonaril_cli; '
              'echo "${COMPREPLY[*]}"')
    completed = subprocess.run(["bash", "-c", script, "bash",
                                os.path.join(prefix, "share/bash-completion/completions/sonaril-cli")],
                               capture_output=True, text=True).stdout.split()
    check(completed == ["wav-mulaw", "wav-alaw"], f"the installed completion completes 'wav-' as {completed}")

for failure in failures:
    print("FAILED:", failure)
print(f"{checked - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
