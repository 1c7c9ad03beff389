#!/usr/bin/env python3
"""The bash completion, the manual page and the packages' read-me say what --help says:
the usage lines (and in the read-me the exit status), each command's options and the
--format values. `cmake --install` puts the tool, the completion and the manual where
Debian keeps them, and the installed completion completes in bash."""
import os
import re
import subprocess
import sys
import tempfile

cli, completion_path, manual_path, read_me_path, build = sys.argv[1:6]
failures = []
check = lambda condition, message: condition or failures.append(message)
run = lambda *arguments: subprocess.run([cli, *arguments], check=True, capture_output=True, text=True).stdout

overview = run("--help").splitlines()
usage = [line.strip() for line in overview[1:overview.index("")]]
commands = sorted({line.split()[1] for line in usage if line.startswith("sonaril-cli ") and
                   not line.split()[1].startswith("-") and line.split()[1] != "COMMAND"})
completion = open(completion_path).read()
manual = open(manual_path).read()
read_me = open(read_me_path).read()

synopsis = re.sub(r"\\f[BRI]", "", manual).replace("\\-", "-").split(".SH SYNOPSIS\n.nf\n")[1].split(".fi")[0]
check(sorted(usage) == sorted(line.strip() for line in synopsis.splitlines()), f"the manual's synopsis: {synopsis}")
exit_status = next(i for i, line in enumerate(overview) if line.startswith("Exit status:"))
for line in overview[1:overview.index("")] + overview[exit_status:]:
    check(line + "\n" in read_me, f"the read-me lacks: {line}")

offered = re.search(r'compgen -W "([^"]*)" -- "\$cur"\)\)\n    return', completion).group(1).split()
check(sorted(offered) == sorted(commands + ["--help", "--version"]), f"completion offers the commands {offered}")

for command in commands:
    options = set()
    for line in run(command, "--help").split("Options:\n")[1].splitlines():
        options.update(re.findall(r"(?:^  |, )(-[-\w]+)", line))
    completed = re.search(rf"\n    {command}\) options=\"([^\"]*)\"", completion)
    check(completed is not None and set(completed.group(1).split()) == options,
          f"{command}: completion options {completed and completed.group(1)} / --help {sorted(options)}")
    section = re.split(r"\n\.S[SH] ", manual.split(f".SS {command}\n")[1])[0]
    listed = set(name.replace("\\-", "-") for name in re.findall(r"\\fB(\\-[^\\ ]*(?:\\-[^\\ ]*)*)\\fR", section))
    check(listed == options - {"-h", "--help"}, f"{command}: manual lists {sorted(listed)} / --help {sorted(options)}")
    formats = re.search(r"--format ([\w|-]+)\]", next(line for line in usage if line.startswith(f"sonaril-cli {command} ")))
    if formats:
        given = re.search(rf"{command}\)[^;]*;;", completion, re.S)
        offered_formats = re.findall(r'formats="([^"]*)"', given.group(0)) or re.findall(r'local options formats="([^"]*)"', completion)
        check(sorted(offered_formats[0].split()) == sorted(formats.group(1).split("|")), f"{command}: completion formats {offered_formats}")

with tempfile.TemporaryDirectory() as prefix:
    subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True, capture_output=True)
    for path, source in (("bin/sonaril-cli", None), ("share/bash-completion/completions/sonaril-cli", completion_path),
                         ("share/man/man1/sonaril-cli.1", manual_path)):
        where = os.path.join(prefix, path)
        check(os.path.isfile(where) and (not source or open(where).read() == open(source).read()),
              f"{path} is not installed as the source's file")
    script = ('source "$1"; COMP_WORDS=(sonaril-cli render --format wav-); COMP_CWORD=3; _sonaril_cli; '
              'echo "${COMPREPLY[*]}"')
    completed = subprocess.run(["bash", "-c", script, "bash",
                                os.path.join(prefix, "share/bash-completion/completions/sonaril-cli")],
                               capture_output=True, text=True).stdout.split()
    check(completed == ["wav-mulaw", "wav-alaw"], f"the installed completion completes 'wav-' as {completed}")

print("".join(f"FAILED: {failure}\n" for failure in failures) + f"{len(failures)} failed")
sys.exit(1 if failures else 0)
