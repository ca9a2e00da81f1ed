#!/usr/bin/env python3
"""End-to-end cases of the launcher against the servers operators run:
Debian's nginx serving a folder that only the publish command writes, plain
and compressed, and Debian's squid with its default caching in front of it,
also as a proxy that asks for a password. Everything listens on 127.0.0.1.

  server_cases.py BUILD_DIR CASE      run one case (exit 0 when it passes)
  server_cases.py --list              the case names
"""

import filecmp
import os
import sys
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import launcher_kit as kit  # noqa: E402
import real_servers  # noqa: E402
from launcher_cases import (NEW, NEW_VERSION, OLD, OLD_VERSION, event, exit_code, expect_clean_end,  # noqa: E402
                            expect_logged, expect_one_start, local_client, run_cases, stub)
from publish_cases import publish  # noqa: E402

MONTH = 30 * 24 * 3600


class Servers:
    """The servers of one case, stopped with it."""

    def __init__(self, run):
        self.run = run
        self.started = []
        # squid gives up root for a user of its own, which must reach its folder.
        os.chmod(run.work, 0o755)

    def nginx(self, **options):
        server = real_servers.start_nginx(os.path.join(self.run.work, "nginx"), self.run.served, **options)
        self.started.append(server)
        return server

    def squid(self, name="squid", **options):
        proxy = real_servers.start_squid(os.path.join(self.run.work, name), **options)
        self.started.append(proxy)
        return proxy

    def stop(self):
        for server in reversed(self.started):
            server.stop()


def publish_client(run, name):
    code, said = publish(run, os.path.join(run.build, "QuorvelindePublish.exe"), stub(run, name))
    run.check(code == 0, "the publish command ended with %d: %s" % (code, said))


def age_published_files(run, seconds):
    """Makes the published pair look `seconds` old, as a release that has been out a while."""
    then = time.time() - seconds
    for name in ("tamorix.exe", "tamorixversion.txt"):
        os.utime(os.path.join(run.served, "tamorix", name), (then, then))


def print_logs(title, lines):
    print("%s:" % title)
    for line in lines:
        print("  " + line)


def expect_the_published_client_started(run, failure):
    events, _ = run.launch()
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(filecmp.cmp(local_client(run), os.path.join(run.served, "tamorix", "tamorix.exe"), shallow=False), failure)


def with_servers(case):
    def run_case(run):
        os.makedirs(os.path.join(run.served, "tamorix"), exist_ok=True)
        servers = Servers(run)
        try:
            case(run, servers)
        finally:
            servers.stop()
    return run_case


@with_servers
def case_nginx_serves_what_the_desk_published(run, servers):
    publish_client(run, NEW)
    origin = servers.nginx(no_cache=True)
    for name in ("tamorixversion.txt", "tamorix.exe"):
        with urllib.request.urlopen("http://%s/tamorix/%s" % (origin.address, name), timeout=10) as answer:
            run.check(answer.headers.get("Cache-Control") == "no-cache",
                      "nginx's documented lines did not mark %s: %r" % (name, answer.headers.get("Cache-Control")))
    kit.place_program(run.build, origin.address, run.program, OLD)
    expect_the_published_client_started(run, "the launcher did not take the published client")
    asked = [line for line in origin.log_lines() if "quorvelinde=\"Quorvelinde/" in line]
    run.check(len(asked) == 2 and all('cc="no-cache" pragma="no-cache"' in line for line in asked),
              "nginx saw %r" % origin.log_lines())


@with_servers
def case_nginx_compressed_and_chunked(run, servers):
    publish_client(run, NEW)
    origin = servers.nginx(gzip=True)
    kit.place_program(run.build, origin.address, run.program, OLD)
    expect_the_published_client_started(run, "the compressed client was not saved as published")
    answers = [line for line in origin.log_lines() if line.startswith("GET /tamorix/")]
    run.check(len(answers) == 2 and all('encoding="gzip" length="-"' in line for line in answers),
              "nginx did not answer compressed and chunked: %r" % answers)


@with_servers
def case_squid_a_new_publish_is_seen_at_the_next_start(run, servers):
    publish_client(run, OLD)
    # Out for a month: by squid's default rules 20 % of that, six days, counts as fresh.
    age_published_files(run, MONTH)
    origin = servers.nginx()
    proxy = servers.squid(large_objects=True)
    through_proxy = {"http_proxy": "http://" + proxy.address}
    kit.place_program(run.build, origin.address, run.program)

    events, _ = run.launch(env=through_proxy)
    expect_one_start(run, OLD_VERSION, run.program)
    print_logs("squid, first start", [line for line in proxy.log_lines() if " GET " in line])
    print_logs("nginx, first start", origin.log_lines())
    before = len(proxy.log_lines()), len(origin.log_lines())

    publish_client(run, NEW)
    os.remove(os.path.join(run.program, kit.STARTED_MARKER))
    events, _ = run.launch(env=through_proxy)
    expect_one_start(run, NEW_VERSION, run.program)
    expect_clean_end(run, events)
    run.check(filecmp.cmp(local_client(run), stub(run, NEW), shallow=False), "the next start did not take the new client")
    second_proxy = [line for line in proxy.log_lines()[before[0]:] if " GET " in line]
    second_origin = origin.log_lines()[before[1]:]
    print_logs("squid, second start", second_proxy)
    print_logs("nginx, second start", second_origin)
    run.check(len(second_proxy) == 2 and not any("HIT" in line for line in second_proxy),
              "squid answered from its cache: %r" % second_proxy)
    run.check(len(second_origin) == 2, "the second start's requests did not reach nginx: %r" % second_origin)


@with_servers
def case_a_proxy_that_asks_for_a_password(run, servers):
    publish_client(run, NEW)
    origin = servers.nginx()
    proxy = servers.squid(password="desk:geheim")
    kit.place_program(run.build, origin.address, run.program, OLD)
    events, took = run.launch(env={"http_proxy": "http://" + proxy.address})
    run.check(not [e for e in event(events, "window") if e["class"] == "#32770"], "a box or prompt appeared")
    expect_one_start(run, OLD_VERSION, run.program)
    run.check(exit_code(events) == 0, "the launcher's exit code is %r" % exit_code(events))
    run.check(filecmp.cmp(local_client(run), stub(run, OLD), shallow=False), "the old client was changed")
    # Both reads fail at once, then the final wait of two seconds: nothing waits for the proxy.
    run.check(took < 20, "the launcher took %.1f s" % took)
    demand = 'Fehler 31001: HTTP 407: der Proxy verlangt eine Anmeldung (Basic realm="Quorvelinde-Test")'
    expect_logged(run, events, "Versionstext nicht gelesen: " + demand, "Client nicht gelesen: " + demand)
    asked = [line for line in proxy.log_lines() if " GET " in line]
    run.check(len(asked) == 2 and all(line.startswith("TCP_DENIED/407") for line in asked), "squid saw %r" % asked)
    run.check(origin.log_lines() == [], "a request passed the proxy: %r" % origin.log_lines())


CASES = {
    "nginx_serves_what_the_desk_published": case_nginx_serves_what_the_desk_published,
    "nginx_compressed_and_chunked": case_nginx_compressed_and_chunked,
    "squid_a_new_publish_is_seen_at_the_next_start": case_squid_a_new_publish_is_seen_at_the_next_start,
    "a_proxy_that_asks_for_a_password": case_a_proxy_that_asks_for_a_password,
}

if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:], __doc__))
