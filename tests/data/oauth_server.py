#!/usr/bin/env python3
"""A tiny local OAuth 2.0 authorization server for Quillet's tests (standard library only).

The sign-in tests start it on 127.0.0.1 (tests/support/oauth_test_server.cpp); the private
Dovecot of the tests asks its /introspect whether a token is good.

Endpoints
  GET  /authorize   authorization-code grant (RFC 6749 4.1) with PKCE (RFC 7636).
                    Auto-approves the configured user and redirects (302) to the
                    loopback redirect_uri (RFC 8252: http://127.0.0.1|[::1]|localhost:PORT/...)
                    with ?code=...&state=...
  POST /token       grant_type=authorization_code (checks client_id, redirect_uri,
                    code_verifier against the S256 challenge; codes are single-use)
                    grant_type=refresh_token (rotates the refresh token by default)
  POST /introspect  RFC 7662 (form "token=..."; also GET ?token= and "Authorization: Bearer")
                    -> {"active": true, "username": ..., "email": ..., "scope": ..., "exp": ...}
  POST /revoke      RFC 7009 (form "token=...")

Test controls (loopback only, no auth)
  POST /admin/expire   [token=T | user=U]   make matching access tokens expired now (all if none given)
  POST /admin/revoke   [token=T | user=U]   revoke access+refresh tokens (all if none given)
  POST /admin/set      access_ttl=S refresh_ttl=S approve=0|1 rotate=0|1 token_bytes=N user=U
                       code_prefix=P (e.g. "4/": a code that must be escaped in URLs)
  GET  /admin/state    counters and settings as JSON
  POST /admin/shutdown stop the server

Usage
  ./oauth-server.py [--port 0] [--port-file F] [--pid-file F] [--log F] [--user alice]
                    [--client-id ID] [--access-ttl 300] [--refresh-ttl 86400]
                    [--token-bytes 32] [--no-rotate] [--allow-plain-pkce] [--seconds 3600] [-v]
Prints "oauth-server: listening on http://127.0.0.1:PORT" once ready; the port
file is written (atomically) only then and removed on exit.  SIGTERM/SIGINT or
--seconds end it cleanly.
"""
import argparse
import base64
import hashlib
import http.server
import json
import os
import secrets
import signal
import sys
import threading
import time
import urllib.parse

LOCK = threading.Lock()


class State:
    def __init__(self, a):
        self.user = a.user
        self.email = a.email or (a.user if "@" in a.user else a.user + "@example.com")
        self.client_id = a.client_id            # None: accept any client_id
        self.access_ttl = a.access_ttl
        self.refresh_ttl = a.refresh_ttl
        self.token_bytes = a.token_bytes
        self.rotate = not a.no_rotate
        self.allow_plain = a.allow_plain_pkce
        self.approve = True
        self.code_prefix = "c_"  # e.g. "4/" to test clients with codes that need escaping
        self.verbose = a.verbose
        self.codes = {}      # code -> dict(client_id, redirect_uri, challenge, method, scope, user, exp)
        self.access = {}     # token -> dict(user, scope, client_id, exp, revoked)
        self.refresh = {}    # token -> dict(user, scope, client_id, exp, revoked)
        self.counts = {}

    def count(self, key):
        self.counts[key] = self.counts.get(key, 0) + 1

    def new_token(self, prefix):
        # opaque, URL-safe; token_bytes controls the length (real tokens are 1-3 KB)
        return prefix + secrets.token_urlsafe(self.token_bytes)


def is_loopback_redirect(uri):
    try:
        u = urllib.parse.urlsplit(uri)
    except ValueError:
        return False
    return (u.scheme == "http" and u.hostname in ("127.0.0.1", "::1", "localhost")
            and u.port is not None and not u.fragment)


def shown(token):
    # The log names a token by its kind and length only: test output never holds a token.
    return "%s<%d characters>" % (token[:3], len(token))


def s256(verifier):
    return base64.urlsafe_b64encode(hashlib.sha256(verifier.encode()).digest()).rstrip(b"=").decode()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"      # keep-alive (Dovecot's HTTP client reuses connections)
    server_version = "quillet-test-oauth/1"

    # ---- plumbing ---------------------------------------------------------
    def log_message(self, fmt, *args):   # replaced by log() lines
        pass

    def log(self, status, detail=""):
        line = "%s oauth-server: %s %s -> %d %s" % (
            time.strftime("%H:%M:%S"), self.command, self.path.split("?")[0], status, detail)
        self.server.logf.write(line.rstrip() + "\n")
        self.server.logf.flush()

    def send(self, status, body=b"", ctype="application/json", headers=(), detail=""):
        if isinstance(body, (dict, list)):
            body = json.dumps(body).encode()
        elif isinstance(body, str):
            body = body.encode()
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        for k, v in headers:
            self.send_header(k, v)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)
        self.log(status, detail)

    def oauth_error(self, status, error, desc):
        self.send(status, {"error": error, "error_description": desc}, detail=error + ": " + desc)

    def form(self):
        n = int(self.headers.get("Content-Length") or 0)
        raw = self.rfile.read(n).decode("utf-8", "replace") if n else ""
        ctype = (self.headers.get("Content-Type") or "").split(";")[0].strip()
        if ctype == "application/json" and raw:
            try:
                return {k: str(v) for k, v in json.loads(raw).items()}
            except (ValueError, AttributeError):
                return {}
        return dict(urllib.parse.parse_qsl(raw, keep_blank_values=True))

    def query(self):
        return dict(urllib.parse.parse_qsl(urllib.parse.urlsplit(self.path).query,
                                           keep_blank_values=True))

    # ---- routing ----------------------------------------------------------
    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/authorize":
            return self.authorize(self.query())
        if path == "/introspect":
            return self.introspect(self.query())
        if path == "/admin/state":
            return self.admin_state()
        self.send(404, {"error": "not_found"}, detail=path)

    def do_POST(self):
        path = urllib.parse.urlsplit(self.path).path
        f = self.form()
        route = {"/token": self.token, "/introspect": self.introspect, "/revoke": self.revoke,
                 "/admin/expire": self.admin_expire, "/admin/revoke": self.admin_revoke,
                 "/admin/set": self.admin_set, "/admin/shutdown": self.admin_shutdown}.get(path)
        if route is None:
            return self.send(404, {"error": "not_found"}, detail=path)
        route(f)

    # ---- /authorize ---------------------------------------------------------
    def authorize(self, q):
        st = self.server.st
        redirect = q.get("redirect_uri", "")
        if not is_loopback_redirect(redirect):
            # never redirect to an unvalidated URI (RFC 6749 4.1.2.1)
            return self.send(400, "invalid redirect_uri (loopback http only)\n", "text/plain",
                             detail="bad redirect_uri %r" % redirect)
        client = q.get("client_id", "")

        def back(params, detail):
            sep = "&" if urllib.parse.urlsplit(redirect).query else "?"
            loc = redirect + sep + urllib.parse.urlencode(params)
            self.send(302, "", "text/plain", headers=[("Location", loc)], detail=detail)

        extra = {"state": q["state"]} if "state" in q else {}
        with LOCK:
            st.count("authorize")
            if st.client_id and client != st.client_id:
                return back({"error": "unauthorized_client", **extra}, "unknown client_id %r" % client)
            if q.get("response_type") != "code":
                return back({"error": "unsupported_response_type", **extra}, "response_type")
            method = q.get("code_challenge_method", "plain")
            challenge = q.get("code_challenge", "")
            if not challenge:
                return back({"error": "invalid_request",
                             "error_description": "code_challenge required", **extra}, "no PKCE")
            if method != "S256" and not (method == "plain" and st.allow_plain):
                return back({"error": "invalid_request",
                             "error_description": "code_challenge_method must be S256", **extra},
                            "PKCE method %r" % method)
            if not st.approve:
                return back({"error": "access_denied", **extra}, "denied (approve=0)")
            code = st.code_prefix + secrets.token_urlsafe(24)
            st.codes[code] = dict(client_id=client, redirect_uri=redirect, challenge=challenge,
                                  method=method, scope=q.get("scope", ""), user=st.user,
                                  exp=time.time() + 60)
        back({"code": code, **extra}, "code issued for %s" % st.user)

    # ---- /token -----------------------------------------------------------
    def issue(self, user, scope, client):
        st = self.server.st
        at, rt = st.new_token("at_"), st.new_token("rt_")
        now = time.time()
        st.access[at] = dict(user=user, scope=scope, client_id=client, exp=now + st.access_ttl,
                             revoked=False, iat=now)
        st.refresh[rt] = dict(user=user, scope=scope, client_id=client, exp=now + st.refresh_ttl,
                              revoked=False)
        return {"access_token": at, "token_type": "Bearer", "expires_in": st.access_ttl,
                "refresh_token": rt, "scope": scope}

    def token(self, f):
        st = self.server.st
        client = f.get("client_id", "")
        if not client and self.headers.get("Authorization", "").startswith("Basic "):
            try:
                client = base64.b64decode(self.headers["Authorization"][6:]).decode().split(":")[0]
                client = urllib.parse.unquote_plus(client)
            except (ValueError, UnicodeDecodeError):
                client = ""
        grant = f.get("grant_type", "")
        if st.verbose:
            self.log(0, "form: " + " ".join("%s=%r" % (k, v if k in ("grant_type", "client_id") else
                                                        "<%d characters>" % len(v))
                                              for k, v in sorted(f.items())))
        with LOCK:
            st.count("token:" + grant)
            if st.client_id and client != st.client_id:
                return self.oauth_error(401, "invalid_client", "unknown client_id %r" % client)
            if grant == "authorization_code":
                c = st.codes.pop(f.get("code", ""), None)      # single use
                if c is None or c["exp"] < time.time():
                    return self.oauth_error(400, "invalid_grant", "unknown, used or expired code")
                if c["client_id"] != client:
                    return self.oauth_error(400, "invalid_grant", "code issued to another client")
                if f.get("redirect_uri") != c["redirect_uri"]:
                    return self.oauth_error(400, "invalid_grant", "redirect_uri mismatch")
                v = f.get("code_verifier")
                if not v:
                    return self.oauth_error(400, "invalid_request", "code_verifier required")
                expect = s256(v) if c["method"] == "S256" else v
                if not secrets.compare_digest(expect, c["challenge"]):
                    return self.oauth_error(400, "invalid_grant", "PKCE verification failed")
                body = self.issue(c["user"], c["scope"], client)
                return self.send(200, body, detail="issued %s... (ttl %ds) for %s"
                                 % (shown(body["access_token"]), st.access_ttl, c["user"]))
            if grant == "refresh_token":
                old = f.get("refresh_token", "")
                r = st.refresh.get(old)
                if r is None or r["revoked"] or r["exp"] < time.time():
                    return self.oauth_error(400, "invalid_grant", "unknown, revoked or expired refresh token")
                if r["client_id"] != client:
                    return self.oauth_error(400, "invalid_grant", "refresh token of another client")
                body = self.issue(r["user"], r["scope"], client)
                if st.rotate:
                    r["revoked"] = True             # old refresh token is spent
                else:
                    del st.refresh[body["refresh_token"]]
                    body["refresh_token"] = old
                return self.send(200, body, detail="refreshed -> %s... for %s"
                                 % (shown(body["access_token"]), r["user"]))
            return self.oauth_error(400, "unsupported_grant_type", repr(grant))

    # ---- /introspect (RFC 7662) ------------------------------------------
    def introspect(self, f):
        st = self.server.st
        tok = f.get("token", "")
        auth = self.headers.get("Authorization", "")
        if not tok and auth.startswith("Bearer "):
            tok = auth[7:].strip()
        with LOCK:
            st.count("introspect")
            a = st.access.get(tok)
            now = time.time()
            if a is None:
                why = "unknown"
            elif a["revoked"]:
                why = "revoked"
            elif a["exp"] <= now:
                why = "expired"
            else:
                why = ""
            if why:
                return self.send(200, {"active": False}, detail="inactive (%s) %s..." % (why, shown(tok)))
            body = {"active": True, "username": a["user"], "sub": a["user"],
                    "email": st.email if a["user"] == st.user else a["user"],
                    "scope": a["scope"], "client_id": a["client_id"], "token_type": "Bearer",
                    "exp": int(a["exp"]), "iat": int(a["iat"])}
        self.send(200, body, detail="active %s... user=%s" % (shown(tok), body["username"]))

    def revoke(self, f):
        st = self.server.st
        tok = f.get("token", "")
        with LOCK:
            st.count("revoke")
            for table in (st.access, st.refresh):
                if tok in table:
                    table[tok]["revoked"] = True
        self.send(200, "", "text/plain", detail="revoked %s..." % shown(tok))

    # ---- test controls ----------------------------------------------------
    def _select(self, f, tables):
        tok, user = f.get("token"), f.get("user")
        for table in tables:
            for t, v in table.items():
                if (tok is None or t == tok) and (user is None or v["user"] == user):
                    yield v

    def admin_expire(self, f):
        st = self.server.st
        with LOCK:
            hit = list(self._select(f, [st.access]))
            for v in hit:
                v["exp"] = time.time() - 1
        self.send(200, {"expired": len(hit)}, detail="expired %d access tokens" % len(hit))

    def admin_revoke(self, f):
        st = self.server.st
        with LOCK:
            hit = list(self._select(f, [st.access, st.refresh]))
            for v in hit:
                v["revoked"] = True
        self.send(200, {"revoked": len(hit)}, detail="revoked %d tokens" % len(hit))

    def admin_set(self, f):
        st = self.server.st
        with LOCK:
            for k, attr, conv in (("access_ttl", "access_ttl", int), ("refresh_ttl", "refresh_ttl", int),
                                  ("token_bytes", "token_bytes", int), ("user", "user", str),
                                  ("code_prefix", "code_prefix", str),
                                  ("approve", "approve", lambda s: s not in ("0", "false", "no")),
                                  ("rotate", "rotate", lambda s: s not in ("0", "false", "no"))):
                if k in f:
                    setattr(st, attr, conv(f[k]))
        self.send(200, self.settings(), detail=" ".join("%s=%s" % kv for kv in f.items()))

    def settings(self):
        st = self.server.st
        return {"user": st.user, "client_id": st.client_id, "access_ttl": st.access_ttl,
                "refresh_ttl": st.refresh_ttl, "token_bytes": st.token_bytes,
                "rotate": st.rotate, "approve": st.approve, "code_prefix": st.code_prefix}

    def admin_state(self):
        st = self.server.st
        with LOCK:
            now = time.time()
            body = dict(self.settings(), counts=dict(st.counts),
                        live_access=sum(1 for v in st.access.values() if not v["revoked"] and v["exp"] > now),
                        live_refresh=sum(1 for v in st.refresh.values() if not v["revoked"] and v["exp"] > now))
        self.send(200, body)

    def admin_shutdown(self, f):
        self.send(200, {"stopping": True}, detail="shutdown requested")
        threading.Thread(target=self.server.shutdown, daemon=True).start()


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--host", default="127.0.0.1")
    p.add_argument("--port", type=int, default=0, help="0 = any free port")
    p.add_argument("--port-file")
    p.add_argument("--pid-file")
    p.add_argument("--log", help="append log lines here (default stderr)")
    p.add_argument("--user", default="alice", help="the user /authorize approves")
    p.add_argument("--email", help="email claim (default USER@example.com)")
    p.add_argument("--client-id", help="only accept this client_id (default: any)")
    p.add_argument("--access-ttl", type=int, default=300)
    p.add_argument("--refresh-ttl", type=int, default=86400)
    p.add_argument("--token-bytes", type=int, default=32, help="random bytes per token (length ~4/3 of it)")
    p.add_argument("--no-rotate", action="store_true", help="keep the refresh token on refresh")
    p.add_argument("--allow-plain-pkce", action="store_true")
    p.add_argument("--seconds", type=float, default=3600, help="exit after this long (bounded lifetime)")
    p.add_argument("-v", "--verbose", action="store_true", help="log the /token form fields")
    a = p.parse_args()

    srv = http.server.ThreadingHTTPServer((a.host, a.port), Handler)
    srv.daemon_threads = True
    srv.st = State(a)
    srv.logf = open(a.log, "a", buffering=1) if a.log else sys.stderr
    port = srv.server_address[1]

    def stop(*_):
        threading.Thread(target=srv.shutdown, daemon=True).start()
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    timer = threading.Timer(a.seconds, stop)
    timer.daemon = True
    timer.start()

    if a.pid_file:
        with open(a.pid_file, "w") as fh:
            fh.write("%d\n" % os.getpid())
    if a.port_file:
        tmp = a.port_file + ".tmp"
        with open(tmp, "w") as fh:
            fh.write("%d\n" % port)
        os.replace(tmp, a.port_file)
    msg = "oauth-server: listening on http://%s:%d (pid %d, user %s)" % (a.host, port, os.getpid(), a.user)
    srv.logf.write(time.strftime("%H:%M:%S ") + msg + "\n")
    if srv.logf is not sys.stderr:
        print(msg, flush=True)
    try:
        srv.serve_forever(poll_interval=0.2)
    finally:
        srv.server_close()
        for f in (a.port_file, a.pid_file):
            if f:
                try:
                    os.unlink(f)
                except FileNotFoundError:
                    pass
        srv.logf.write(time.strftime("%H:%M:%S ") + "oauth-server: stopped\n")


if __name__ == "__main__":
    main()
